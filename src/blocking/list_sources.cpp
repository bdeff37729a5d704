#include "list_sources.h"

#include "files/data_file.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace ListSources {

namespace {

constexpr qint64 LargestAssets = 1024 * 1024;

QStringList strings(const QJsonValue &value)
{
    if (value.isString())
        return {value.toString()};
    QStringList found;
    for (const QJsonValue &item : value.toArray())
        if (item.isString())
            found.append(item.toString());
    return found;
}

// Certificates keep a list's bytes the list's; only this machine itself needs none.
bool isFetchable(const QUrl &address)
{
    if (!address.isValid() || address.host().isEmpty())
        return false;
    return address.scheme() == u"https" ||
           (address.scheme() == u"http" &&
            (address.host() == u"127.0.0.1" || address.host() == u"localhost"));
}

} // namespace

QHash<QString, Source> fromAssets(const QByteArray &json)
{
    QHash<QString, Source> sources;
    const QJsonObject assets = QJsonDocument::fromJson(json).object();
    for (auto asset = assets.constBegin(); asset != assets.constEnd(); ++asset) {
        const QJsonObject details = asset.value().toObject();
        if (details.value(u"content"_s).toString() != u"filters")
            continue;
        QString file;
        Source source{details.value(u"title"_s).toString(asset.key()), {}};
        for (const QString &entry :
             strings(details.value(u"contentURL"_s)) + strings(details.value(u"cdnURLs"_s))) {
            const QUrl address(entry);
            if (address.isRelative() && file.isEmpty())
                file = QFileInfo(entry).fileName(); // the installed copy
            else if (isFetchable(address) && !source.addresses.contains(address))
                source.addresses.append(address);
        }
        if (!file.isEmpty() && !source.addresses.isEmpty())
            sources.insert(file, source);
    }
    return sources;
}

QHash<QString, Source> read(const QStringList &packageFolders)
{
    for (const QString &package : packageFolders) {
        const std::optional<QByteArray> json =
            DataFile::read(QDir(package).filePath(u"assets/assets.json"_s), LargestAssets);
        if (json) {
            QHash<QString, Source> sources = fromAssets(*json);
            if (!sources.isEmpty())
                return sources;
        }
    }
    return {};
}

} // namespace ListSources
