#include "request.h"

#include "encoded_address.h"
#include "public_suffix.h"

#include <algorithm>
#include <cstring>

namespace Blocking {

namespace {

// Where the host stands in an encoded address, and the host; QUrl has made it lower case.
std::pair<qsizetype, QByteArrayView> hostIn(QByteArrayView address)
{
    const qsizetype scheme = address.indexOf("://");
    if (scheme < 0)
        return {0, {}};
    qsizetype start = scheme + 3;
    qsizetype end = start;
    while (end < address.size() && !QByteArrayView("/?#").contains(address[end]))
        ++end;
    const qsizetype at = address.sliced(start, end - start).lastIndexOf('@');
    if (at >= 0)
        start += at + 1;
    if (start < end && address[start] == '[') { // "[::1]:8080": the host without its brackets
        const qsizetype close = address.sliced(start, end - start).indexOf(']');
        return close < 0 ? std::pair{qsizetype(0), QByteArrayView()}
                         : std::pair{start + 1, address.sliced(start + 1, close - 1)};
    }
    const qsizetype colon = address.sliced(start, end - start).indexOf(':');
    if (colon >= 0)
        end = start + colon;
    return {start, address.sliced(start, end - start)};
}

bool isCapital(char c)
{
    return c >= 'A' && c <= 'Z';
}

// Where the first capital of `text` may be: the start of the first eight bytes that may hold one,
// told by arithmetic on all eight at once, so a megabyte without a capital costs an eighth of a
// byte-by-byte search.
qsizetype firstCapitalWord(QByteArrayView text)
{
    constexpr quint64 Ones = 0x0101010101010101u;
    constexpr quint64 High = 0x80 * Ones;
    qsizetype at = 0;
    for (quint64 word; at + 8 <= text.size(); at += 8) {
        std::memcpy(&word, text.data() + at, 8);
        // Each byte's low seven bits plus a constant reach its high bit exactly when they are
        // at least 'A' (or past 'Z'), and no sum carries into the next byte. (A byte past ASCII
        // may pass for a capital: its word is then merely looked at byte by byte.)
        const quint64 low = word & ~High;
        const quint64 fromA = low + (0x80 - 'A') * Ones;
        const quint64 pastZ = low + (0x80 - 'Z' - 1) * Ones;
        if (fromA & ~pastZ & High)
            break;
    }
    return at;
}

// An encoded address is ASCII: lowered without Qt's general case mapping, and shared, not
// copied, when it holds no capital (most do), so a long one costs one pass.
QByteArray lowered(const QByteArray &address)
{
    const char *first =
        std::find_if(address.cbegin() + firstCapitalWord(address), address.cend(), isCapital);
    if (first == address.cend())
        return address;
    QByteArray lower(address.size(), Qt::Uninitialized);
    std::transform(address.cbegin(), address.cend(), lower.begin(),
                   [](char c) { return char(c | (isCapital(c) ? 0x20 : 0)); });
    return lower;
}

} // namespace

Request Request::make(const QUrl &address, const QUrl &page, RequestType type)
{
    Request request;
    request.address = encodedAddress(address);
    request.lowerAddress = lowered(request.address);
    const auto [hostStart, host] = hostIn(request.lowerAddress);
    request.hostStart = hostStart;
    request.host = host.toByteArray();
    request.pageHost = page.host(QUrl::FullyEncoded).toUtf8().toLower();
    request.type = type;
    return request;
}

const QVarLengthArray<size_t, 24> &Request::pageNameHashes() const
{
    if (!m_pageNameHashes) {
        m_pageNameHashes.emplace();
        forEachNameOf(pageHost, [this](QByteArrayView name) {
            m_pageNameHashes->append(qHash(name, PageNameSeed));
        });
    }
    return *m_pageNameHashes;
}

QByteArrayView Request::pageWithoutSuffix() const
{
    if (!m_pageWithoutSuffix)
        m_pageWithoutSuffix = withoutPublicSuffix(pageHost);
    return *m_pageWithoutSuffix;
}

QByteArrayView Request::hostWithoutSuffix() const
{
    if (!m_hostWithoutSuffix)
        m_hostWithoutSuffix = withoutPublicSuffix(host);
    return *m_hostWithoutSuffix;
}

bool Request::thirdParty() const
{
    if (!m_thirdParty)
        m_thirdParty = pageHost.isEmpty() || (host != pageHost && siteOf(host) != siteOf(pageHost));
    return *m_thirdParty;
}

} // namespace Blocking
