#ifndef REELHOP_FAVORITES_FAVORITES_FILE_H
#define REELHOP_FAVORITES_FAVORITES_FILE_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The favorites file: one line per value, a favorite being one value per column of the list
// (its title, then its address). No header, no quoting: a line is the value.
namespace FavoritesFile {

// One favorite: its values in column order.
using Item = QStringList;

QString path(const QString &folder);

// Every value as UTF-8 and CR LF, columnCount lines per item: missing values are empty lines and
// a line break inside a value becomes a blank, so each value stays one line.
QByteArray toBytes(const QList<Item> &items, int columnCount);

// The items of the file, columnCount lines each; a file that ends inside an item keeps that
// item with its missing values empty. Lines end in CR LF, LF or CR. A line that is not valid
// UTF-8 is read as Windows-1252, so files kept in that code page stay readable.
QList<Item> fromBytes(const QByteArray &bytes, int columnCount);

// The file's items; none when there is no file, nothing when it exists but cannot be read.
std::optional<QList<Item>> load(const QString &filePath, int columnCount);

// Replaces the file whole, or leaves the old one as it was and returns false.
bool save(const QString &filePath, const QList<Item> &items, int columnCount);

} // namespace FavoritesFile

#endif
