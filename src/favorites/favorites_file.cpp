#include "favorites_file.h"

#include "files/data_file.h"

#include <QDir>
#include <QStringDecoder>
#include <array>

using namespace Qt::StringLiterals;

namespace FavoritesFile {

namespace {

// Far beyond any list a person keeps, small enough to read at once.
constexpr qint64 MaxFileBytes = 64 * 1024 * 1024;

// Windows-1252 differs from Latin-1 only in 0x80 to 0x9F; its five unused bytes keep their
// Latin-1 meaning, as Windows itself reads them.
constexpr std::array<char16_t, 32> Windows1252High{
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178'};

QString fromWindows1252(QByteArrayView line)
{
    QString text;
    text.reserve(line.size());
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        text.append(byte >= 0x80 && byte < 0xA0 ? QChar(Windows1252High[byte - 0x80])
                                                : QChar(char16_t(byte)));
    }
    return text;
}

QString decodeLine(QByteArrayView line)
{
    // A line's own leading U+FEFF is text; only the file's byte-order mark is skipped.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8(line);
    return utf8.hasError() ? fromWindows1252(line) : text;
}

QByteArray encodeValue(QString value)
{
    return value.replace(u"\r\n"_s, u" "_s).replace(u'\r', u' ').replace(u'\n', u' ').toUtf8();
}

} // namespace

QString path(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("file.dtt"));
}

QByteArray toBytes(const QList<Item> &items, int columnCount)
{
    QByteArray bytes;
    for (const Item &item : items) {
        for (int column = 0; column < columnCount; ++column)
            bytes += encodeValue(item.value(column)) + "\r\n";
    }
    // A first value that starts with U+FEFF would read as a byte-order mark and be lost: a
    // byte-order mark of the file's own goes before it.
    const QByteArrayView rest = DataFile::withoutByteOrderMark(bytes);
    if (rest.size() != bytes.size())
        bytes.prepend(bytes.first(bytes.size() - rest.size()));
    return bytes;
}

QList<Item> fromBytes(const QByteArray &bytes, int columnCount)
{
    QList<Item> items;
    if (columnCount < 1)
        return items;
    const QList<QByteArrayView> lines = DataFile::lines(DataFile::withoutByteOrderMark(bytes));
    for (qsizetype first = 0; first < lines.size(); first += columnCount) {
        Item item;
        for (int column = 0; column < columnCount; ++column)
            item.append(first + column < lines.size() ? decodeLine(lines[first + column])
                                                      : QString());
        items.append(item);
    }
    return items;
}

std::optional<QList<Item>> load(const QString &filePath, int columnCount)
{
    const std::optional<QByteArray> bytes = DataFile::read(filePath, MaxFileBytes);
    if (!bytes)
        return std::nullopt;
    return fromBytes(*bytes, columnCount);
}

bool save(const QString &filePath, const QList<Item> &items, int columnCount)
{
    return DataFile::write(filePath, toBytes(items, columnCount));
}

} // namespace FavoritesFile
