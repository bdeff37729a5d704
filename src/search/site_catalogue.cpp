#include "site_catalogue.h"

#include <QUrl>

using namespace Qt::StringLiterals;

namespace SiteCatalogue {

namespace {

// The bundled notice for a closed site; a search shows the text it kept from being sent.
Site closedSite(const QString &tabCaption, const QString &optionLabel, const QString &siteName,
                const QString &closedIn)
{
    QString notice =
        u"qrc:/sites/closed.html?site="_s + QString::fromLatin1(QUrl::toPercentEncoding(siteName));
    if (!closedIn.isEmpty())
        notice += u"&closed="_s + closedIn;
    return {tabCaption, optionLabel, notice, notice + u"&search=%s"_s, true};
}

} // namespace

const Lineup &builtInLineup()
{
    static const Lineup lineup{{
        {u"YOUTUBE"_s, u"YouTube"_s, u"https://www.youtube.com/"_s,
         u"https://www.youtube.com/results?search_query=%s"_s},
        {u"GOOGLE"_s, u"GOOGLE"_s, u"https://www.google.com/"_s,
         u"https://www.google.com/search?tbm=vid&q=%s"_s},
        {u"YAHOO"_s, u"YAHOO"_s, u"https://video.search.yahoo.com/"_s,
         u"https://video.search.yahoo.com/search/video?p=%s"_s},
        closedSite(u"AOL"_s, u"AOL"_s, u"AOL Video"_s, {}),
        closedSite(u"MYSPACE"_s, u"MY SPACE"_s, u"MySpace Videos"_s, {}),
        closedSite(u"Meta Cafe"_s, u"META CAFE"_s, u"MetaCafe"_s, u"2021"_s),
        {u"DailyMotion"_s, u"Daily Motion"_s, u"https://www.dailymotion.com/"_s,
         u"https://www.dailymotion.com/search/%s/videos"_s},
        closedSite(u"Break.com"_s, u"BREAK.COM"_s, u"Break.com"_s, u"2018"_s),
        closedSite(u"Revver"_s, u"REVVER"_s, u"Revver"_s, u"2011"_s),
    }};
    return lineup;
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
