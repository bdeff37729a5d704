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

// The whole file, when it is a regular file of at most maxBytes that can be read. A pipe, a
// device, a folder or a file too large gives nothing, so no file can hang or flood the program.
std::optional<QByteArray> read(const QString &path, qint64 maxBytes);

// Replaces the file whole, or leaves the old one as it was and returns false.
bool write(const QString &path, const QByteArray &bytes);

// The lines of a text file, without their ends. CR LF, LF and a lone CR each end a line; a last
// line without an end counts, and the end of the last line starts no further line.
QList<QByteArrayView> lines(QByteArrayView bytes);

// The bytes without a leading UTF-8 byte-order mark.
QByteArrayView withoutByteOrderMark(QByteArrayView bytes);

} // namespace DataFile

#endif
