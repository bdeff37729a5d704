#ifndef REELHOP_BLOCKING_REQUEST_H
#define REELHOP_BLOCKING_REQUEST_H

#include "filter_rule.h"

#include <QByteArray>
#include <QUrl>
#include <QVarLengthArray>
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
    // The names lists may give the page's site by (its domains, "example.*"), and the hosts
    // without their public suffix; each worked out once, when first asked.
    // The names as hashes (qHash with `PageNameSeed`), as an index keys the rules by them.
    const QVarLengthArray<size_t, 24> &pageNameHashes() const;
    static constexpr size_t PageNameSeed = 0x5eed;
    QByteArrayView pageWithoutSuffix() const;
    QByteArrayView hostWithoutSuffix() const;

private:
    mutable std::optional<bool> m_thirdParty;
    mutable std::optional<QVarLengthArray<size_t, 24>> m_pageNameHashes;
    mutable std::optional<QByteArrayView> m_pageWithoutSuffix;
    mutable std::optional<QByteArrayView> m_hostWithoutSuffix;
};

} // namespace Blocking

#endif
