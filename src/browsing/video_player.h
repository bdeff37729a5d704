#ifndef REELHOP_BROWSING_VIDEO_PLAYER_H
#define REELHOP_BROWSING_VIDEO_PLAYER_H

#include <QString>
#include <optional>

// A native video player for a found video: mpv, which plays video sites' addresses through
// yt-dlp. Reelhop downloads nothing itself.
namespace VideoPlayer {

// The player's program on the PATH; empty when it is not installed.
QString find();

// Starts the player on its own, with the address as its one argument after "--" and no shell
// in between; why it could not be started (an address that is no http or https one is not
// tried), or nothing.
std::optional<QString> play(const QString &program, const QString &address);

} // namespace VideoPlayer

#endif
