#include "data_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace DataFile {

QString folderFor(const QString &programFolder)
{
    if (QFileInfo(programFolder).isWritable())
        return programFolder;
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(userFolder);
    return userFolder;
}

std::optional<QByteArray> read(const QString &path, qint64 maxBytes)
{
    if (!isPresent(path))
        return QByteArray(); // a first run
    // Opening a pipe would wait for a writer: look before opening.
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > maxBytes)
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.read(maxBytes + 1);
    if (bytes.size() > maxBytes || file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

bool isPresent(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

bool write(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

QList<QByteArrayView> lines(QByteArrayView bytes)
{
    QList<QByteArrayView> result;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        result.append(bytes.sliced(start, end - start));
        const bool crLf = bytes.sliced(end).startsWith("\r\n");
        start = end + (crLf ? 2 : 1);
    }
    return result;
}

QByteArrayView withoutByteOrderMark(QByteArrayView bytes)
{
    constexpr QByteArrayView Mark("\xEF\xBB\xBF");
    return bytes.startsWith(Mark) ? bytes.sliced(Mark.size()) : bytes;
}

} // namespace DataFile
