#ifndef REELHOP_SEARCH_SITE_DESCRIPTIONS_H
#define REELHOP_SEARCH_SITE_DESCRIPTIONS_H

#include "open_search.h"

// The lineup's sites as OpenSearch description files, and a site from one.
namespace SiteDescriptions {

// Writes a file a live site, "N NAME.xml" (N its tab), each whole or not at all; the files
// written, or nothing when one could not be.
std::optional<QStringList> exportTo(const QString &folder, const SiteCatalogue::Lineup &lineup);

// The site a description file names; a file that cannot be read, or is too large, says so.
OpenSearch::Reading importFrom(const QString &path);

} // namespace SiteDescriptions

#endif
