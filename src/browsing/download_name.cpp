#include "download_name.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace DownloadName {

namespace {

constexpr qsizetype LongestName = 200;

// What a desktop or a file manager runs, or installs, when the file is opened.
bool isRunnable(const QString &name)
{
    static const QStringList Suffixes{
        u".desktop"_s, u".directory"_s, u".kdelnk"_s,   u".sh"_s,         u".bash"_s,
        u".run"_s,     u".bin"_s,       u".appimage"_s, u".exe"_s,        u".msi"_s,
        u".bat"_s,     u".cmd"_s,       u".com"_s,      u".jar"_s,        u".py"_s,
        u".pl"_s,      u".deb"_s,       u".rpm"_s,      u".flatpakref"_s, u".command"_s};
    for (const QString &suffix : Suffixes)
        if (name.endsWith(suffix, Qt::CaseInsensitive))
            return true;
    return false;
}

} // namespace

QString safe(const QString &proposed)
{
    QString name = proposed;
    name = name.mid(name.lastIndexOf(u'/') + 1);
    name = name.mid(name.lastIndexOf(u'\\') + 1);
    name.removeIf([](QChar c) { return c.category() == QChar::Other_Control || c == u':'; });
    name = name.trimmed();
    while (name.startsWith(u'.'))
        name.remove(0, 1);
    while (name.endsWith(u'.') || name.endsWith(u' '))
        name.chop(1);
    if (name.isEmpty())
        name = u"download"_s;
    if (name.size() > LongestName)
        name = name.right(LongestName); // keeps the extension
    if (isRunnable(name))
        name += u".download"_s;
    return name;
}

QString unused(const QString &name, const std::function<bool(const QString &)> &taken)
{
    if (!taken(name))
        return name;
    // "clip.tar.gz" becomes "clip (1).tar.gz", as browsers name a second copy.
    const qsizetype dot = name.indexOf(u'.');
    const QString stem = dot > 0 ? name.left(dot) : name;
    const QString extension = dot > 0 ? name.mid(dot) : QString();
    for (int copy = 1;; ++copy) {
        const QString candidate = u"%1 (%2)%3"_s.arg(stem).arg(copy).arg(extension);
        if (!taken(candidate))
            return candidate;
    }
}

} // namespace DownloadName
