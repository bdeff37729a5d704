#ifndef REELHOP_BROWSING_STAND_IN_SERVER_H
#define REELHOP_BROWSING_STAND_IN_SERVER_H

#include <QWebEngineUrlSchemeHandler>

class RequestPolicy;

// Answers the requests the blocker sends to a stand-in ("redirect=noop.js") with the stand-in's
// bytes, which the policy gives.
class StandInServer final : public QWebEngineUrlSchemeHandler
{
public:
    StandInServer(const RequestPolicy *policy, QObject *parent);

    // Once, before the engine starts.
    static void registerScheme();

    void requestStarted(QWebEngineUrlRequestJob *job) override;

private:
    const RequestPolicy *m_policy;
};

#endif
