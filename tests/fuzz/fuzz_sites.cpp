#include "search/sites_file.h"

#include <cstdlib>

using namespace Qt::StringLiterals;

// Any bytes read as a sites file give a lineup that a save keeps: written over the same text and
// read again, it is the same lineup; so is a changed lineup.
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
    return 0;
}
