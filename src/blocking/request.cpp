#include "request.h"

#include <libpsl.h>

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

} // namespace

QByteArrayView siteOf(const QByteArray &host)
{
    // An address given by number is a site of its own.
    if (host.isEmpty() || (host.back() >= '0' && host.back() <= '9') || host.contains(':'))
        return host;
    // The newer of libpsl's own list and the one Debian's publicsuffix package keeps current; read
    // once and never changed, so every thread may ask it.
    static const psl_ctx_t *const Suffixes = psl_latest(nullptr);
    const char *site = psl_registrable_domain(Suffixes, host.constData());
    return site ? QByteArrayView(site, host.constEnd() - site) : QByteArrayView(host);
}

Request Request::make(const QUrl &address, const QUrl &page, RequestType type)
{
    Request request;
    request.address = address.toEncoded();
    request.lowerAddress = request.address.toLower();
    const auto [hostStart, host] = hostIn(request.lowerAddress);
    request.hostStart = hostStart;
    request.host = host.toByteArray();
    request.pageHost = page.host(QUrl::FullyEncoded).toUtf8().toLower();
    request.type = type;
    request.thirdParty =
        request.pageHost.isEmpty() || siteOf(request.host) != siteOf(request.pageHost);
    return request;
}

} // namespace Blocking
