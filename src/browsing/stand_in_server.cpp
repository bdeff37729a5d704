#include "stand_in_server.h"

#include "blocking/request_policy.h"

#include <QBuffer>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

StandInServer::StandInServer(const RequestPolicy *policy, QObject *parent)
    : QWebEngineUrlSchemeHandler(parent), m_policy(policy)
{
}

void StandInServer::registerScheme()
{
    QWebEngineUrlScheme scheme(RequestPolicy::StandInScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    // What a https page was sent to stays secure content, and its scripts may fetch it.
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::CorsEnabled);
    QWebEngineUrlScheme::registerScheme(scheme);
}

void StandInServer::requestStarted(QWebEngineUrlRequestJob *job)
{
    const QString name = RequestPolicy::standInName(job->requestUrl());
    if (name == QLatin1StringView(RequestPolicy::BlockedFrameName)) {
        job->fail(QWebEngineUrlRequestJob::RequestAborted);
        return;
    }
    const std::optional<StandIns::Resource> resource =
        m_policy ? m_policy->standIn(name) : std::nullopt;
    if (!resource) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    auto *body = new QBuffer(job);
    body->setData(resource->bytes);
    job->reply(resource->mimeType, body);
}
