#include "site_catalogue.h"

#include <QUrl>

namespace SiteCatalogue {

namespace {

// The bundled notice for a closed site; a search shows the text it kept from being sent.
Site closedSite(const QString &tabCaption, const QString &optionLabel, const QString &siteName,
                const QString &closedIn)
{
    QString notice =
        u"qrc:/sites/closed.html?site="_qs + QString::fromLatin1(QUrl::toPercentEncoding(siteName));
    if (!closedIn.isEmpty())
        notice += u"&closed="_qs + closedIn;
    return {tabCaption, optionLabel, notice, notice + u"&search=%s"_qs, true};
}

} // namespace

const Lineup &builtInLineup()
{
    static const Lineup lineup{{
        {u"YOUTUBE"_qs, u"YouTube"_qs, u"https://www.youtube.com/"_qs,
         u"https://www.youtube.com/results?search_query=%s"_qs},
        {u"GOOGLE"_qs, u"GOOGLE"_qs, u"https://www.google.com/"_qs,
         u"https://www.google.com/search?tbm=vid&q=%s"_qs},
        {u"YAHOO"_qs, u"YAHOO"_qs, u"https://video.search.yahoo.com/"_qs,
         u"https://video.search.yahoo.com/search/video?p=%s"_qs},
        closedSite(u"AOL"_qs, u"AOL"_qs, u"AOL Video"_qs, {}),
        closedSite(u"MYSPACE"_qs, u"MY SPACE"_qs, u"MySpace Videos"_qs, {}),
        closedSite(u"Meta Cafe"_qs, u"META CAFE"_qs, u"MetaCafe"_qs, u"2021"_qs),
        {u"DailyMotion"_qs, u"Daily Motion"_qs, u"https://www.dailymotion.com/"_qs,
         u"https://www.dailymotion.com/search/%s/videos"_qs},
        closedSite(u"Break.com"_qs, u"BREAK.COM"_qs, u"Break.com"_qs, u"2018"_qs),
        closedSite(u"Revver"_qs, u"REVVER"_qs, u"Revver"_qs, u"2011"_qs),
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
