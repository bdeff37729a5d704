#ifndef REELHOP_SETTINGS_SETTINGS_FILE_H
#define REELHOP_SETTINGS_SETTINGS_FILE_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>

// The settings file: one line per option box, boxes 0 to 8 the start-up boxes and 9 to 17 the
// search boxes of sites 0 to 8; each line a state, 0 unchecked, 1 checked, 2 greyed.
namespace SettingsFile {

inline constexpr int BoxCount = 18;
using States = std::array<int, BoxCount>;

QString path(const QString &programFolder);

// Each state as " n " and CR LF: 90 bytes in all.
QByteArray toBytes(const States &states);

// The states of the leading lines, up to the first line that is missing, not a plain number or
// not a valid state. Lines end in CR LF, LF or CR; blanks around the number are allowed; a
// leading byte-order mark is skipped.
QList<int> fromBytes(const QByteArray &bytes);

// What fromBytes makes of the file; nothing when it is missing, not a regular file or too
// large to be one.
QList<int> load(const QString &filePath);

// Replaces the file whole, or leaves the old one as it was and returns false.
bool save(const QString &filePath, const States &states);

} // namespace SettingsFile

#endif
