#ifndef REELHOP_BLOCKING_REQUEST_H
#define REELHOP_BLOCKING_REQUEST_H

#include "filter_rule.h"

#include <QByteArray>
#include <QUrl>
#include <optional>

namespace Blocking {

// A request as the matcher sees it: the address as sent, and the page that asks for it.
struct Request
{
    QByteArray address; // percent-encoded, as sent
    QByteArray lowerAddress;
    QByteArray host;     // lower case
    QByteArray pageHost; // lower case; empty when no page asks
    RequestType type = RequestType::Other;
    qsizetype hostStart = 0;

    // Without a page the request counts as coming from another site.
    static Request make(const QUrl &address, const QUrl &page, RequestType type);

    // Whether the request is for another site than the page's; asked of the Public Suffix List
    // only when a rule wants to know, once.
    bool thirdParty() const;

private:
    mutable std::optional<bool> m_thirdParty;
};

} // namespace Blocking

#endif
