#include "site_description_fetch.h"

#include <QNetworkReply>

namespace {

bool onHost(const QUrl &address, const QString &host)
{
    return (address.scheme() == u"http" || address.scheme() == u"https") && !host.isEmpty() &&
           address.host() == host;
}

} // namespace

SiteDescriptionFetch::SiteDescriptionFetch(QObject *parent) : QObject(parent) {}

void SiteDescriptionFetch::fetch(const QUrl &description, const QUrl &page)
{
    const QString host = page.host();
    if (!onHost(description, host)) {
        emit read({std::nullopt, tr("it is not on the page's own site.")});
        return;
    }
    QNetworkRequest request(description);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(3);
    request.setTransferTimeout(15000);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    QNetworkReply *reply = m_network.get(request);
    connect(reply, &QNetworkReply::redirected, reply, [reply, host](const QUrl &to) {
        if (onHost(to, host))
            emit reply->redirectAllowed();
        else
            reply->abort();
    });
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received) {
        if (received > OpenSearch::LargestDescription) {
            reply->setProperty("tooLarge", true);
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        reply->deleteLater();
        if (reply->property("tooLarge").toBool())
            emit read({std::nullopt, tr("it is larger than 64 KiB.")});
        else if (reply->error() != QNetworkReply::NoError)
            emit read(
                {std::nullopt, tr("it could not be fetched (%1).").arg(reply->errorString())});
        else
            emit read(OpenSearch::read(reply->readAll(), reply->url()));
    });
}
