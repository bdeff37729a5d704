#include "video_player.h"

#include <QProcess>
#include <QStandardPaths>

namespace VideoPlayer {

QString find()
{
    return QStandardPaths::findExecutable(QStringLiteral("mpv"));
}

std::optional<QString> play(const QString &program, const QString &address)
{
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
