#include "site_catalogue.h"

#include <QCoreApplication>
#include <QUrl>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace SiteCatalogue {

namespace {

// The bundled notice for a closed site; a search shows the text it kept from being sent.
Site closedSite(const QString &tabCaption, const QString &optionLabel, const QString &siteName,
                const QString &closedIn, const QString &keyword)
{
    QString notice =
        u"qrc:/sites/closed.html?site="_s + QString::fromLatin1(QUrl::toPercentEncoding(siteName));
    if (!closedIn.isEmpty())
        notice += u"&closed="_s + closedIn;
    return {tabCaption, optionLabel, notice, notice + u"&search=%s"_s, true, keyword};
}

Site preset(const QString &name, const QString &startPage, const QString &searchTemplate,
            const QString &keyword)
{
    return {name, name, startPage, searchTemplate, false, keyword};
}

} // namespace

const Lineup &builtInLineup()
{
    static const Lineup lineup{{
        {u"YOUTUBE"_s, u"YouTube"_s, u"https://www.youtube.com/"_s,
         u"https://www.youtube.com/results?search_query=%s"_s, false, u"yt"_s},
        {u"GOOGLE"_s, u"GOOGLE"_s, u"https://www.google.com/"_s,
         u"https://www.google.com/search?tbm=vid&q=%s"_s, false, u"g"_s},
        {u"YAHOO"_s, u"YAHOO"_s, u"https://video.search.yahoo.com/"_s,
         u"https://video.search.yahoo.com/search/video?p=%s"_s, false, u"y"_s},
        closedSite(u"AOL"_s, u"AOL"_s, u"AOL Video"_s, {}, u"aol"_s),
        closedSite(u"MYSPACE"_s, u"MY SPACE"_s, u"MySpace Videos"_s, {}, u"ms"_s),
        closedSite(u"Meta Cafe"_s, u"META CAFE"_s, u"MetaCafe"_s, u"2021"_s, u"mc"_s),
        {u"DailyMotion"_s, u"Daily Motion"_s, u"https://www.dailymotion.com/"_s,
         u"https://www.dailymotion.com/search/%s/videos"_s, false, u"dm"_s},
        closedSite(u"Break.com"_s, u"BREAK.COM"_s, u"Break.com"_s, u"2018"_s, u"break"_s),
        closedSite(u"Revver"_s, u"REVVER"_s, u"Revver"_s, u"2011"_s, u"rv"_s),
    }};
    return lineup;
}

const QList<Site> &presets()
{
    static const QList<Site> sites{
        preset(u"YouTube"_s, u"https://www.youtube.com/"_s,
               u"https://www.youtube.com/results?search_query=%s"_s, u"yt"_s),
        preset(u"Dailymotion"_s, u"https://www.dailymotion.com/"_s,
               u"https://www.dailymotion.com/search/%s/videos"_s, u"dm"_s),
        preset(u"Vimeo"_s, u"https://vimeo.com/"_s, u"https://vimeo.com/search?q=%s"_s, u"vm"_s),
        preset(u"SepiaSearch"_s, u"https://sepiasearch.org/"_s,
               u"https://sepiasearch.org/search?search=%s"_s, u"sepia"_s),
        preset(u"Internet Archive"_s, u"https://archive.org/details/movies"_s,
               u"https://archive.org/search?query=%s&and%5B%5D=mediatype%3A%22movies%22"_s,
               u"ia"_s),
        preset(u"Odysee"_s, u"https://odysee.com/"_s, u"https://odysee.com/$/search?q=%s"_s,
               u"od"_s),
        preset(u"Rumble"_s, u"https://rumble.com/"_s, u"https://rumble.com/search/video?q=%s"_s,
               u"rb"_s),
        preset(u"Bilibili"_s, u"https://www.bilibili.com/"_s,
               u"https://search.bilibili.com/all?keyword=%s"_s, u"bili"_s),
        preset(u"Niconico"_s, u"https://www.nicovideo.jp/"_s,
               u"https://www.nicovideo.jp/search/%s"_s, u"nico"_s),
        preset(u"TED"_s, u"https://www.ted.com/talks"_s, u"https://www.ted.com/search?q=%s"_s,
               u"ted"_s),
        preset(u"Twitch"_s, u"https://www.twitch.tv/"_s,
               u"https://www.twitch.tv/search?term=%s&type=videos"_s, u"tw"_s),
        preset(u"Bing videos"_s, u"https://www.bing.com/videos"_s,
               u"https://www.bing.com/videos/search?q=%s"_s, u"bing"_s),
        preset(u"DuckDuckGo videos"_s, u"https://duckduckgo.com/"_s,
               u"https://duckduckgo.com/?q=%s&iax=videos&ia=videos"_s, u"ddg"_s),
        preset(u"Yahoo video"_s, u"https://video.search.yahoo.com/"_s,
               u"https://video.search.yahoo.com/search/video?p=%s"_s, u"y"_s),
        preset(u"Google videos"_s, u"https://www.google.com/"_s,
               u"https://www.google.com/search?tbm=vid&q=%s"_s, u"g"_s),
    };
    return sites;
}

QString defaultKeyword(int site, const QString &searchTemplate)
{
    if (builtInLineup()[site].searchTemplate == searchTemplate)
        return builtInLineup()[site].keyword;
    for (const Site &preset : presets()) {
        if (preset.searchTemplate == searchTemplate)
            return preset.keyword;
    }
    return {};
}

QString keywordProblem(const QString &keyword)
{
    if (keyword.size() > LongestKeyword)
        return QCoreApplication::translate("SiteCatalogue", "At most %1 characters.")
            .arg(LongestKeyword);
    // One word, so that the text typed after it starts at the first space.
    const bool word = std::ranges::all_of(keyword, [](QChar c) {
        return c.isLetterOrNumber() || c == u'-' || c == u'_' || c == u'.';
    });
    return word ? QString()
                : QCoreApplication::translate("SiteCatalogue",
                                              "Letters, digits, - _ and . only, no spaces.");
}

std::optional<int> viewOfTab(int tab)
{
    if (tab >= 0 && tab < SiteCount)
        return tab;
    if (tab == HomeTab)
        return HomeView;
    return std::nullopt;
}

QString fixedTabCaption(int tab)
{
    switch (tab) {
    case FavoritesTab:
        return QStringLiteral("Favorites");
    case NotesTab:
        return QStringLiteral("My Notes");
    case HomeTab:
        return HomeCaption.toString();
    default:
        return {};
    }
}

} // namespace SiteCatalogue
