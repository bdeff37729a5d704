#ifndef REELHOP_SEARCH_HOME_PAGE_H
#define REELHOP_SEARCH_HOME_PAGE_H

#include "site_catalogue.h"

// The bundled home page with the lineup in use as its list of sites, a closed site shown as such.
QString homePageHtml(const SiteCatalogue::Lineup &lineup);

#endif
