#include "session_file.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace SessionFile {

bool isWebAddress(const QString &address)
{
    const QUrl url(address, QUrl::StrictMode);
    return url.isValid() && (url.scheme() == u"http" || url.scheme() == u"https") &&
           !url.host().isEmpty();
}

namespace {

// What a result's picture may be, as the reader lets it.
bool isPicture(const QString &address)
{
    return address.isEmpty() || isWebAddress(address) || address.startsWith(u"data:image/");
}

QJsonObject toJson(const VideoResult &video)
{
    return {{u"title"_s, video.title},       {u"address"_s, video.address},
            {u"picture"_s, video.thumbnail}, {u"length"_s, video.length},
            {u"seconds"_s, video.seconds},   {u"author"_s, video.author},
            {u"meta"_s, video.meta},         {u"page"_s, video.page}};
}

std::optional<VideoResult> videoFrom(const QJsonObject &object)
{
    VideoResult video{object[u"title"].toString(),   object[u"address"].toString(),
                      object[u"picture"].toString(), object[u"length"].toString(),
                      object[u"seconds"].toInt(-1),  object[u"author"].toString(),
                      object[u"meta"].toString(),    object[u"page"].toString()};
    if (!isWebAddress(video.address) || !isPicture(video.thumbnail) || video.seconds < -1)
        return std::nullopt;
    return video;
}

} // namespace

QString path(const QString &folder)
{
    return QDir(folder).filePath(u"session.json"_s);
}

QByteArray toBytes(const Session &session)
{
    QJsonArray views;
    for (const View &view : session.views)
        views.append(QJsonObject{{u"address"_s, view.address},
                                 {u"history"_s, QString::fromLatin1(view.history.toBase64())},
                                 {u"ended"_s, view.endedProcesses},
                                 {u"on"_s, view.on}});
    QJsonArray readings;
    for (const auto &[site, reading] : session.readings) {
        QJsonArray list;
        for (const VideoResult &video : reading.results)
            list.append(toJson(video));
        readings.append(QJsonObject{{u"site"_s, site},
                                    {u"how"_s, int(reading.how)},
                                    {u"around links"_s, reading.itemBypassed},
                                    {u"results"_s, list}});
    }
    return QJsonDocument(QJsonObject{{u"tab"_s, session.tab},
                                     {u"search"_s, session.searchText},
                                     {u"views"_s, views},
                                     {u"readings"_s, readings}})
        .toJson(QJsonDocument::Compact);
}

std::optional<Session> fromBytes(const QByteArray &bytes)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    const QJsonObject object = document.object();
    const QJsonArray views = object[u"views"].toArray();
    Session session;
    session.tab = object[u"tab"].toInt(-1);
    session.searchText = object[u"search"].toString();
    if (error.error != QJsonParseError::NoError || session.tab < 0 ||
        session.tab > SiteCatalogue::TabCount || views.size() != SiteCatalogue::ViewCount)
        return std::nullopt;
    for (int index = 0; index < SiteCatalogue::ViewCount; ++index) {
        const QJsonObject view = views[index].toObject();
        View &kept = session.views[index];
        kept.address = view[u"address"].toString();
        kept.history = QByteArray::fromBase64(view[u"history"].toString().toLatin1());
        kept.endedProcesses = std::max(0, view[u"ended"].toInt());
        kept.on = view[u"on"].toBool(true);
        if (!isWebAddress(kept.address)) {
            kept.address.clear();
            kept.history.clear();
        }
    }
    for (const QJsonValue &entry : object[u"readings"].toArray()) {
        const int site = entry[u"site"].toInt(-1);
        const int how = entry[u"how"].toInt(-1);
        const bool repeated = std::any_of(session.readings.cbegin(), session.readings.cend(),
                                          [site](const auto &kept) { return kept.first == site; });
        if (site < 0 || site >= SiteCatalogue::SiteCount || how < 0 ||
            how > int(PageReading::How::Shape) || repeated)
            return std::nullopt;
        PageReading reading{PageReading::How(how), entry[u"around links"].toBool(), {}};
        for (const QJsonValue &video : entry[u"results"].toArray())
            if (const std::optional<VideoResult> kept = videoFrom(video.toObject()))
                reading.results.append(*kept);
        session.readings.append({site, reading});
    }
    return session;
}

} // namespace SessionFile
