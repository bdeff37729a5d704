#ifndef REELHOP_SETTINGS_START_CHOICE_H
#define REELHOP_SETTINGS_START_CHOICE_H

#include <QString>

// What the window shows when the program starts: the start pages the options name, or the pages
// of the last session. Kept in the preferences file, which a person may edit, as
// "[start] show=last session"; anything else there means the start pages.
namespace StartChoice {

enum class Start { StartPages, LastSession };

QString path(const QString &folder);

Start read(const QString &preferencesPath);
// Rewrites only its own line; false, with the file as it was, when the file could not be read
// or written.
bool write(const QString &preferencesPath, Start start);

} // namespace StartChoice

#endif
