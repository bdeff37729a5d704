#include "result_list.h"

#include <QHash>
#include <algorithm>
#include <limits>

namespace ResultList {

namespace {

// The title's letters and digits in lower case, and the length. A title of none (emoji alone)
// tells nothing about the video: its address does.
QString sameVideoKey(const VideoResult &video)
{
    QString key;
    key.reserve(video.title.size() + 8);
    for (const QChar c : video.title) {
        if (c.isLetterOrNumber())
            key += c.toLower();
    }
    if (key.isEmpty())
        return u'|' + video.address;
    return key + u'|' + QString::number(video.seconds);
}

} // namespace

QList<ListedVideo> merge(const QList<std::pair<int, QList<VideoResult>>> &resultsBySite)
{
    QList<ListedVideo> merged;
    QHash<QString, qsizetype> listedAt;
    qsizetype longest = 0;
    for (const auto &[site, results] : resultsBySite)
        longest = std::max(longest, results.size());
    for (qsizetype place = 0; place < longest; ++place) {
        for (const auto &[site, results] : resultsBySite) {
            if (place >= results.size())
                continue;
            const VideoResult &video = results[place];
            const QString key = sameVideoKey(video);
            if (const auto found = listedAt.constFind(key); found != listedAt.cend()) {
                QList<int> &sites = merged[*found].sites;
                if (!sites.contains(site))
                    sites.append(site);
                continue;
            }
            listedAt.insert(key, merged.size());
            merged.append({video, {site}, int(place)});
        }
    }
    return merged;
}

QList<int> arrange(const QList<ListedVideo> &videos, Order order, const Filter &filter)
{
    const bool byLength = filter.shortestSeconds >= 0 || filter.longestSeconds >= 0;
    QList<int> shown;
    for (int index = 0; index < videos.size(); ++index) {
        const ListedVideo &listed = videos[index];
        const int seconds = listed.video.seconds;
        if (filter.site >= 0 && !listed.sites.contains(filter.site))
            continue;
        if (byLength && (seconds < 0 || seconds < filter.shortestSeconds ||
                         (filter.longestSeconds >= 0 && seconds > filter.longestSeconds)))
            continue;
        shown.append(index);
    }
    if (order == Order::InTurns)
        return shown;
    // Videos of no known length go last either way; equal ones keep their turns.
    const auto key = [&videos, order](int index) {
        const int seconds = videos[index].video.seconds;
        if (seconds < 0)
            return std::numeric_limits<qint64>::max();
        return order == Order::ShortestFirst ? qint64(seconds) : -qint64(seconds);
    };
    std::ranges::stable_sort(shown, {}, key);
    return shown;
}

} // namespace ResultList
