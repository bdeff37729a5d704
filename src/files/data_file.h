#ifndef REELHOP_FILES_DATA_FILE_H
#define REELHOP_FILES_DATA_FILE_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// What both of the program's small data files need from the file system.
namespace DataFile {

// Where the program keeps its files: its own folder when that can be written (a build, a copied
// program folder), else the user's data folder, as for an installed program.
QString folderFor(const QString &programFolder);

// The whole file, when it is a regular file of at most maxBytes that can be read, and no bytes
// when there is no file. A file that exists but is a pipe, a device, a folder, a file too large
// or one that cannot be read gives nothing, so no file can hang or flood the program, and the
// caller can tell a first run from a file it must not replace.
std::optional<QByteArray> read(const QString &path, qint64 maxBytes);

// Whether there is anything at the path, a dangling link included: what a save would replace.
bool isPresent(const QString &path);

// Replaces the file whole, or leaves the old one as it was and returns false.
bool write(const QString &path, const QByteArray &bytes);

// The lines of a text file, without their ends. CR LF, LF and a lone CR each end a line; a last
// line without an end counts, and the end of the last line starts no further line.
QList<QByteArrayView> lines(QByteArrayView bytes);

// The bytes without a leading UTF-8 byte-order mark.
QByteArrayView withoutByteOrderMark(QByteArrayView bytes);

} // namespace DataFile

#endif
