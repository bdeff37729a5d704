#include "favorites/favorites_file.h"
#include "files/data_file.h"
#include "session/session_file.h"
#include "settings/settings_file.h"

#include <QCoreApplication>
#include <cstdio>

using namespace Qt::StringLiterals;

// Saves the settings, the favorites or the session over and over, switching between two contents,
// until it is killed. Usage: save_loop settings|favorites|session FILE. Writes the two contents to
// FILE.a and FILE.b first, so a checker knows the only two files it may find, and the old one to
// FILE.
int main(int argc, char *argv[])
{
    if (argc != 3)
        return 2;
    const QString kind = QString::fromLocal8Bit(argv[1]);
    const QString path = QString::fromLocal8Bit(argv[2]);
    QList<FavoritesFile::Item> favorites[2];
    for (int item = 0; item < 4000; ++item) {
        favorites[0].append({u"Old page %1"_s.arg(item), u"http://old.example/%1"_s.arg(item)});
        favorites[1].append({u"New page %1"_s.arg(item), u"http://new.example/%1"_s.arg(item)});
    }
    SettingsFile::States settings[2];
    settings[0].fill(0);
    settings[1].fill(1);
    SessionFile::Session sessions[2];
    for (int which = 0; which < 2; ++which)
        for (SessionFile::View &view : sessions[which].views)
            view = {u"https://%1.example/"_s.arg(which), QByteArray(64 * 1024, char('a' + which))};
    const auto save = [&](int which, const QString &to) {
        if (kind == u"session")
            return DataFile::write(to, SessionFile::toBytes(sessions[which]));
        return kind == u"settings" ? SettingsFile::save(to, settings[which])
                                   : FavoritesFile::save(to, favorites[which], 2);
    };
    if (!save(0, path + u".a"_s) || !save(1, path + u".b"_s) || !save(0, path))
        return 1;
    std::puts("ready");
    std::fflush(stdout);
    for (int which = 1;; which = 1 - which)
        save(which, path);
}
