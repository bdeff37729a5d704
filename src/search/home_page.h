#ifndef REELHOP_SEARCH_HOME_PAGE_H
#define REELHOP_SEARCH_HOME_PAGE_H

#include "site_catalogue.h"

// The bundled home page with the lineup in use as its list of sites, a closed site shown as such,
// and while there is one, a link to put live sites in their place.
QString homePageHtml(const SiteCatalogue::Lineup &lineup);

// Where that link leads: the window answers it.
inline constexpr QStringView LiveSitesLink = u"qrc:/home/live-sites";

#endif
