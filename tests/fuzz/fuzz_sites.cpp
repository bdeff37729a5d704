#include "search/open_search.h"
#include "search/site_groups.h"
#include "search/sites_file.h"
#include "session/session_file.h"

#include <cstdlib>

using namespace Qt::StringLiterals;

// Any bytes read as a sites file give a lineup that a save keeps: written over the same text and
// read again, it is the same lineup; so is a changed lineup. Read as a groups file, they give
// groups that a save keeps whole; read as a site's description, a site that its own description
// names again; read as a session, a session that its own file holds again.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const IniText text =
        IniText::fromBytes(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    SiteCatalogue::Lineup lineup = SitesFile::fromText(text).lineup;
    for (int change = 0; change < 2; ++change) {
        const QByteArray saved = SitesFile::withLineup(text, lineup).toBytes();
        if (SitesFile::fromText(IniText::fromBytes(saved)).lineup != lineup)
            std::abort();
        lineup[size % SiteCatalogue::SiteCount] = {u"V"_s, u"V"_s, u"https://v.example/"_s,
                                                   u"https://v.example/?q=%s"_s};
    }
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const SiteGroups::Contents groups = SiteGroups::fromBytes(bytes);
    if (SiteGroups::fromBytes(SiteGroups::toBytes(groups)) != groups)
        std::abort();
    const OpenSearch::Reading described = OpenSearch::read(bytes, QUrl(u"https://d.example/os"_s));
    if (described.site) {
        const OpenSearch::Reading again =
            OpenSearch::read(OpenSearch::describe(*described.site), {});
        if (!again.site || again.site->searchTemplate != described.site->searchTemplate ||
            again.site->tabCaption != described.site->tabCaption)
            std::abort();
    }
    // A session read back from what it writes is the same session.
    if (const std::optional<SessionFile::Session> session = SessionFile::fromBytes(bytes))
        if (SessionFile::fromBytes(SessionFile::toBytes(*session)) != session)
            std::abort();
    return 0;
}
