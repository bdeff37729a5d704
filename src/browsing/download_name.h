#ifndef REELHOP_BROWSING_DOWNLOAD_NAME_H
#define REELHOP_BROWSING_DOWNLOAD_NAME_H

#include <QString>
#include <functional>

// The name a downloaded file is saved under. A site proposes one; it never picks the folder.
namespace DownloadName {

// A plain name of the file's own: no folder parts, not hidden, no control characters, and never
// one the desktop would run when opened (a ".desktop" file gets ".download" added).
QString safe(const QString &proposed);

// The name, or "name (1).ext", "name (2).ext", ..., the first that is not taken.
QString unused(const QString &name, const std::function<bool(const QString &)> &taken);

} // namespace DownloadName

#endif
