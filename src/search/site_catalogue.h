#ifndef REELHOP_SEARCH_SITE_CATALOGUE_H
#define REELHOP_SEARCH_SITE_CATALOGUE_H

#include <QList>
#include <QString>
#include <QStringView>
#include <array>
#include <optional>

// What a site slot holds: the captions it shows and the addresses its view loads. A search
// template marks the search text's place with %s; without one the text is appended.
struct Site
{
    QString tabCaption;
    QString optionLabel;
    QString startPage;
    QString searchTemplate;
    // A built-in site that has closed: its addresses open a bundled notice, nothing else.
    bool closed = false;
    // "!keyword text" searches this site alone; empty for none.
    QString keyword;

    friend bool operator==(const Site &, const Site &) = default;
};

// Site k lives on tab k, in view k, with boxes k (start-up) and 9 + k (search); which site a slot
// holds is the user's to choose (the sites file), the built-in lineup is the default.
namespace SiteCatalogue {

inline constexpr int SiteCount = 9;
inline constexpr int TabCount = 12;
inline constexpr int ViewCount = 10;
inline constexpr int FavoritesTab = 9;
inline constexpr int NotesTab = 10;
inline constexpr int HomeTab = 11;
inline constexpr int HomeView = 9;

inline constexpr QStringView HomeCaption = u"HOME";
// The home page's address, as the address box shows it and as the user may type it.
inline constexpr QStringView HomePage = u"reelhop:home";
// Where the home page was before it had an address of its own, as favorites may still hold it.
inline constexpr QStringView FormerHomePage = u"qrc:/home/index.html";

using Lineup = std::array<Site, SiteCount>;

// The program's own lineup: today's addresses of the sites that still offer video search, and a
// notice for those that have closed, whose old domains may now belong to anyone.
const Lineup &builtInLineup();

// Well-known video sites that answer a search at a plain address today, to put on a tab.
const QList<Site> &presets();

// The keyword a slot holding this search address has when the sites file names none: the
// built-in site's on its own slot, a preset's for its address, else none.
QString defaultKeyword(int site, const QString &searchTemplate);

// Why a keyword cannot be used, in words; empty when it can (no keyword can).
QString keywordProblem(const QString &keyword);

// The longest keyword: a word typed before the search text.
inline constexpr int LongestKeyword = 20;

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

// The view shown on a tab: sites 0 to 8 on their own view, HOME on view 9, none elsewhere.
std::optional<int> viewOfTab(int tab);

// The tab that shows a view: the inverse of viewOfTab.
constexpr int tabOfView(int view)
{
    return view == HomeView ? HomeTab : view;
}

// The caption of a tab that holds no site: "Favorites", "My Notes", "HOME".
QString fixedTabCaption(int tab);

} // namespace SiteCatalogue

#endif
