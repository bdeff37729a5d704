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
    if (player.startDetached())
        return std::nullopt;
    return player.errorString();
}

} // namespace VideoPlayer
