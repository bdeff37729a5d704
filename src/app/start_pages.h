#ifndef REELHOP_APP_START_PAGES_H
#define REELHOP_APP_START_PAGES_H

#include "search/site_catalogue.h"
#include "settings/settings_file.h"

#include <array>
#include <functional>

class BrowserView;

// What the window shows at a start without the last session.
namespace StartPages {

using Views = std::array<BrowserView *, SiteCatalogue::ViewCount>;
// Switches a site's tab on or off, the selection staying where it is.
using SetTabOn = std::function<void(int tab, bool on)>;

// HOME's own page, made for the lineup.
void showHome(BrowserView &home, const SiteCatalogue::Lineup &lineup);

// HOME's page, and each site whose start-up box is ticked at its start page with its tab on;
// the other tabs are off.
void show(const SettingsFile::States &options, const SiteCatalogue::Lineup &lineup,
          const Views &views, const SetTabOn &setTabOn);

} // namespace StartPages

#endif
