#ifndef REELHOP_BLOCKING_REQUEST_H
#define REELHOP_BLOCKING_REQUEST_H

#include "filter_rule.h"

#include <QByteArray>
#include <QUrl>

namespace Blocking {

// A request as the matcher sees it: the address as sent, and the page that asks for it.
struct Request
{
    QByteArray address; // percent-encoded, as sent
    QByteArray lowerAddress;
    QByteArray host;     // lower case
    QByteArray pageHost; // lower case; empty when no page asks
    RequestType type = RequestType::Other;
    bool thirdParty = true;
    qsizetype hostStart = 0;

    // Without a page the request counts as coming from another site.
    static Request make(const QUrl &address, const QUrl &page, RequestType type);
};

} // namespace Blocking

#endif
