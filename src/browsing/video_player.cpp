#include "video_player.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace VideoPlayer {

QString find()
{
    return QStandardPaths::findExecutable(QStringLiteral("mpv"));
}

std::optional<QString> play(const QString &program, const QString &address)
{
    // The player opens web addresses; the program's own pages and an empty tab are none.
    const QString scheme = QUrl(address).scheme();
    if (scheme != u"http" && scheme != u"https")
        return QCoreApplication::translate(
            "VideoPlayer", "there is no web page here to play: open a video's page on a site tab");
    QProcess player;
    player.setProgram(program);
    player.setArguments({QStringLiteral("--"), address});
    player.setStandardInputFile(QProcess::nullDevice());
    // The player's own progress lines are nothing for the program's terminal.
    player.setStandardOutputFile(QProcess::nullDevice());
    player.setStandardErrorFile(QProcess::nullDevice());
    if (player.startDetached())
        return std::nullopt;
    return player.errorString();
}

} // namespace VideoPlayer
