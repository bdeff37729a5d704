#include "settings_file.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <optional>

namespace SettingsFile {

namespace {

constexpr int HighestState = 2;

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
    qsizetype lineStart = 0;
    while (lineStart < bytes.size() && states.size() < BoxCount) {
        qsizetype lineEnd = lineStart;
        while (lineEnd < bytes.size() && bytes[lineEnd] != '\r' && bytes[lineEnd] != '\n')
            ++lineEnd;
        const std::optional<int> state =
            parseState(QByteArrayView(bytes).sliced(lineStart, lineEnd - lineStart));
        if (!state)
            break;
        states.append(*state);
        lineStart = lineEnd;
        if (lineStart < bytes.size() && bytes[lineStart] == '\r')
            ++lineStart;
        if (lineStart < bytes.size() && bytes[lineStart] == '\n')
            ++lineStart;
    }
    return states;
}

QList<int> load(const QString &filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return fromBytes(file.readAll());
}

bool save(const QString &filePath, const States &states)
{
    QSaveFile file(filePath);
    return file.open(QIODevice::WriteOnly) && file.write(toBytes(states)) >= 0 && file.commit();
}

} // namespace SettingsFile
