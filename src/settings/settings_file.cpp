#include "settings_file.h"

#include "files/data_file.h"

#include <QDir>
#include <optional>

namespace SettingsFile {

namespace {

constexpr int HighestState = 2;
// Eighteen short lines; anything far larger is not a settings file.
constexpr qint64 MaxFileBytes = 64 * 1024;

std::optional<int> parseState(QByteArrayView line)
{
    const QByteArray number = line.toByteArray().trimmed();
    if (number.isEmpty())
        return std::nullopt;
    for (const char c : number) {
        if (c < '0' || c > '9')
            return std::nullopt;
    }
    bool ok = false;
    const int value = number.toInt(&ok);
    if (!ok || value > HighestState)
        return std::nullopt;
    return value;
}

} // namespace

QString path(const QString &programFolder)
{
    return QDir(programFolder).filePath(QStringLiteral("svng.msf"));
}

QByteArray toBytes(const States &states)
{
    QByteArray bytes;
    for (const int state : states)
        bytes += ' ' + QByteArray::number(state) + " \r\n";
    return bytes;
}

QList<int> fromBytes(const QByteArray &bytes)
{
    QList<int> states;
    for (const QByteArrayView line : DataFile::lines(DataFile::withoutByteOrderMark(bytes))) {
        const std::optional<int> state = parseState(line);
        if (!state || states.size() == BoxCount)
            break;
        states.append(*state);
    }
    return states;
}

QList<int> load(const QString &filePath)
{
    const std::optional<QByteArray> bytes = DataFile::read(filePath, MaxFileBytes);
    return bytes ? fromBytes(*bytes) : QList<int>();
}

bool save(const QString &filePath, const States &states)
{
    return DataFile::write(filePath, toBytes(states));
}

} // namespace SettingsFile
