#include "site_description_fetch.h"

#include <QNetworkReply>

namespace {

// On the page's host, and never less private than the page: an https page's description
// comes over https.
bool onHost(const QUrl &address, const QUrl &page)
{
    const bool scheme =
        address.scheme() == u"https" || (address.scheme() == u"http" && page.scheme() == u"http");
    return scheme && !page.host().isEmpty() && address.host() == page.host();
}

} // namespace

SiteDescriptionFetch::SiteDescriptionFetch(QObject *parent) : QObject(parent) {}

void SiteDescriptionFetch::fetch(const QUrl &description, const QUrl &page)
{
    if (!onHost(description, page)) {
        emit read(
            {std::nullopt, tr("it is not on the page's own site, or not as private as the page.")});
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
    connect(reply, &QNetworkReply::redirected, reply, [reply, page](const QUrl &to) {
        if (onHost(to, page))
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
