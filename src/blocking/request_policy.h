#ifndef REELHOP_BLOCKING_REQUEST_POLICY_H
#define REELHOP_BLOCKING_REQUEST_POLICY_H

#include "filter_rule.h"
#include "page_hiding.h"
#include "stand_ins.h"

#include <QByteArray>
#include <QUrl>
#include <optional>

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

// The scripts in-page rules run in a frame, in the page's own world and in one apart.
struct FrameScripts
{
    QString page;
    QString isolated;
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
    // What element-hiding rules hide on the page.
    virtual PageHiding hiding(const QUrl &page) const = 0;
    // What in-page rules run in frames of the address's host on the page, before the frame's own
    // scripts.
    virtual FrameScripts frameScripts(const QUrl &frame, const QUrl &page) const
    {
        Q_UNUSED(frame);
        Q_UNUSED(page);
        return {};
    }
    // The stand-in a verdict's redirect names, when the engine loads it.
    virtual std::optional<StandIns::Resource> standIn(const QString &name) const
    {
        Q_UNUSED(name);
        return std::nullopt;
    }

    // Where stand-ins are served: a scheme no page can open for itself, only be sent to.
    static constexpr char StandInScheme[] = "reelhop-stand-in";
    // What a blocked frame is sent to: a load that ends before it begins, so the frame stays
    // empty instead of holding the engine's error page (about 2 MiB each).
    static constexpr char BlockedFrameName[] = "(blocked frame)";
    static QUrl standInAddress(const QString &name)
    {
        return QUrl::fromEncoded(QByteArray(StandInScheme) + ':' + QUrl::toPercentEncoding(name),
                                 QUrl::StrictMode);
    }
    static QString standInName(const QUrl &address)
    {
        return QUrl::fromPercentEncoding(address.path(QUrl::FullyEncoded).toLatin1());
    }
};

#endif
