#ifndef REELHOP_BLOCKING_REQUEST_POLICY_H
#define REELHOP_BLOCKING_REQUEST_POLICY_H

#include "filter_rule.h"

#include <QByteArray>
#include <QUrl>

// What the web engine asks of the blocker for every request and every page it opens. The
// engine's module holds only this face, so the blocker stays in the program.
class RequestPolicy
{
public:
    virtual ~RequestPolicy() = default;

    // The rule that blocks the request, with its list ("||ads.example^ (easylist.txt)"), or
    // nothing when the request may go.
    virtual QString blockingRule(const QUrl &address, const QUrl &page,
                                 Blocking::RequestType type) const = 0;
    // The style sheet that hides what element-hiding rules name on the page.
    virtual QByteArray hidingStyleSheet(const QUrl &page) const = 0;
};

#endif
