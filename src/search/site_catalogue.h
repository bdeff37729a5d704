#ifndef REELHOP_SEARCH_SITE_CATALOGUE_H
#define REELHOP_SEARCH_SITE_CATALOGUE_H

#include <QString>
#include <QStringView>
#include <QUrl>
#include <array>
#include <optional>

struct VideoSite
{
    QStringView tabCaption;
    QStringView optionLabel;
    QStringView startPage;
    QStringView searchPrefix;
};

// The fixed table that binds each video site to its tab, its view, its two option boxes and its
// addresses. Site k lives on tab k, in view k, with boxes k (start-up) and 9 + k (search).
namespace SiteCatalogue {

inline constexpr int SiteCount = 9;
inline constexpr int TabCount = 12;
inline constexpr int ViewCount = 10;
inline constexpr int FavoritesTab = 9;
inline constexpr int NotesTab = 10;
inline constexpr int HomeTab = 11;
inline constexpr int HomeView = 9;

inline constexpr std::array<VideoSite, SiteCount> Sites{{
    {u"YOUTUBE", u"YouTube", u"http://www.youtube.com/",
     u"http://www.youtube.com/results?search_query="},
    {u"GOOGLE", u"GOOGLE", u"http://video.google.com/", u"http://video.google.com/videosearch?q="},
    {u"YAHOO", u"YAHOO", u"http://video.search.yahoo.com/",
     u"http://video.search.yahoo.com/search/video?p="},
    {u"AOL", u"AOL", u"http://video.aol.com/",
     u"http://video.aol.com/searchresults?invocationType=aolcomvideo&query="},
    {u"MYSPACE", u"MY SPACE", u"http://vids.myspace.com/index.cfm?fuseaction=vids.videos",
     u"http://searchservice.myspace.com/index.cfm?fuseaction=vids.fullsearch&searchtarget=tvid"
     u"&searchBoxID=HeaderWebResults&find=1&n=2&t="},
    {u"Meta Cafe", u"META CAFE", u"http://www.metacafe.com/", u"http://www.metacafe.com/tags/"},
    {u"DailyMotion", u"Daily Motion", u"http://www.dailymotion.com/",
     u"http://www.dailymotion.com/visited/search/"},
    {u"Break.com", u"BREAK.COM", u"http://www.break.com/",
     u"http://my.break.com/Media/Search.aspx?SearchString="},
    {u"Revver", u"REVVER", u"http://www.revver.com/", u"http://one.revver.com/find/video/"},
}};

inline constexpr QStringView HomeCaption = u"HOME";
inline constexpr QStringView HomePage = u"qrc:/home/index.html";

// Only a checked box (1) selects a site; unchecked (0) and greyed (2) do not.
constexpr bool isSelected(int boxState)
{
    return boxState == 1;
}

constexpr int startUpBox(int site)
{
    return site;
}

constexpr int searchBox(int site)
{
    return SiteCount + site;
}

// The search prefix followed by the text, percent-encoded as UTF-8 so that "&", "#", "/" and
// blanks reach the site as part of the text. Nothing is trimmed; an empty text gives the prefix.
QUrl searchAddress(int site, const QString &text);

// The view shown on a tab: sites 0 to 8 on their own view, HOME on view 9, none elsewhere.
std::optional<int> viewOfTab(int tab);

// The tab that shows a view: the inverse of viewOfTab.
constexpr int tabOfView(int view)
{
    return view == HomeView ? HomeTab : view;
}

// The caption of every tab of the main strip, in tab order.
QString tabCaption(int tab);

} // namespace SiteCatalogue

#endif
