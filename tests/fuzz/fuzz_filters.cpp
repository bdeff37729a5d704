#include "blocking/filter_set.h"

#include <cstdlib>

using namespace Qt::StringLiterals;

// Any bytes read as a filter list give rules that decide every request without a fault, and
// each line counts once: as a rule, as skipped or as no rule.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    Blocking::FilterSet filters;
    const Blocking::ListCount count = filters.addList(u"fuzz"_s, bytes);
    if (count.rules < 0 || count.skipped < 0 ||
        count.rules + count.skipped > bytes.count('\n') + bytes.count('\r') + 1)
        std::abort();
    const QUrl page(u"https://www.videos.example/results?q=a"_s);
    for (const char *address : {"https://ads.example/x/ad.js?a=1&b=2", "http://a.b.example:8080/",
                                "https://www.videos.example/results?q=a"}) {
        for (std::uint16_t type = 1; type <= 0x800; type <<= 1)
            filters.decide(Blocking::Request::make(QUrl(QString::fromLatin1(address)), page,
                                                   Blocking::RequestType(type)));
    }
    filters.hidingStyleSheet(page);
    return 0;
}
