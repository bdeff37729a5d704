#include "request.h"

namespace Blocking {

namespace {

bool isCountryCode(QByteArrayView label)
{
    return label.size() == 2 && label[0] >= 'a' && label[0] <= 'z';
}

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

QByteArrayView siteOf(QByteArrayView host)
{
    // An address given by number is a site of its own.
    if (host.isEmpty() || (host.back() >= '0' && host.back() <= '9') || host.contains(':'))
        return host;
    const qsizetype last = host.lastIndexOf('.');
    const qsizetype second = last > 0 ? host.first(last).lastIndexOf('.') : -1;
    if (second < 0)
        return host;
    // "example.co.uk", "example.com.au": a country's own second level.
    const qsizetype third = host.first(second).lastIndexOf('.');
    if (isCountryCode(host.sliced(last + 1)) && last - second - 1 <= 3)
        return host.sliced(third + 1);
    return host.sliced(second + 1);
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
