#include "start_pages.h"

#include "browsing/browser_view.h"
#include "search/home_page.h"

namespace StartPages {

void showHome(BrowserView &home, const SiteCatalogue::Lineup &lineup)
{
    home.showPage(homePageHtml(lineup), SiteCatalogue::HomePage.toString());
}

void show(const SettingsFile::States &options, const SiteCatalogue::Lineup &lineup,
          const Views &views, const SetTabOn &setTabOn)
{
    using namespace SiteCatalogue;
    showHome(*views[HomeView], lineup);
    // YouTube's tab stays on: it is the start page of last resort below.
    for (int tab = 1; tab < SiteCount; ++tab)
        setTabOn(tab, false);
    for (int site = 0; site < SiteCount; ++site) {
        if (isSelected(options[startUpBox(site)])) {
            setTabOn(site, true);
            views[site]->navigate(lineup[site].startPage);
        }
    }
    // The last site alone has a stand-in when it is not chosen: the first's start page, loaded
    // last.
    constexpr int LastSite = SiteCount - 1;
    if (!isSelected(options[startUpBox(LastSite)]))
        views[0]->navigate(lineup[0].startPage);
}

} // namespace StartPages
