#ifndef REELHOP_BLOCKING_REQUEST_POLICY_H
#define REELHOP_BLOCKING_REQUEST_POLICY_H

#include "filter_rule.h"

#include <QByteArray>
#include <QUrl>

// What becomes of one request.
struct RequestVerdict
{
    // The rule that blocks it, with its list ("||ads.example^ (easylist.txt)"); empty when it may
    // go.
    QString blockingRule;
    // Where it goes instead, when anywhere: a stand-in for a blocked request, or the address
    // without the query parameters the lists take off.
    QUrl redirect;
};

// What the web engine asks of the blocker for every request and every page it opens. The
// engine's module holds only this face, so the blocker stays in the program.
class RequestPolicy
{
public:
    virtual ~RequestPolicy() = default;

    virtual RequestVerdict verdict(const QUrl &address, const QUrl &page,
                                   Blocking::RequestType type) const = 0;
    QString blockingRule(const QUrl &address, const QUrl &page, Blocking::RequestType type) const
    {
        return verdict(address, page, type).blockingRule;
    }
    // The style sheet that hides what element-hiding rules name on the page.
    virtual QByteArray hidingStyleSheet(const QUrl &page) const = 0;
};

#endif
