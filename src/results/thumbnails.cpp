#include "thumbnails.h"

#include <QBuffer>
#include <QHostAddress>
#include <QImageReader>
#include <QNetworkReply>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

constexpr int AtOnce = 4;
constexpr qint64 LargestFile = 2 * 1024 * 1024;
constexpr int LargestSide = 4096;
// In bytes of the scaled pictures: some 400 thumbnails.
constexpr qsizetype KeptBytes = 12 * 1024 * 1024;

bool isLocal(const QUrl &url)
{
    const QString host = url.host().toLower();
    if (host == u"localhost" || host.endsWith(u".localhost") || host.endsWith(u".local"))
        return true;
    const QHostAddress address(host);
    if (address.isNull())
        return false;
    static const QList<std::pair<QHostAddress, int>> localNetworks{
        QHostAddress::parseSubnet(u"10.0.0.0/8"_s),
        QHostAddress::parseSubnet(u"172.16.0.0/12"_s),
        QHostAddress::parseSubnet(u"192.168.0.0/16"_s),
        QHostAddress::parseSubnet(u"169.254.0.0/16"_s),
        QHostAddress::parseSubnet(u"fc00::/7"_s),
        QHostAddress::parseSubnet(u"fe80::/10"_s),
        QHostAddress::parseSubnet(u"0.0.0.0/8"_s)};
    return address.isLoopback() || std::ranges::any_of(localNetworks, [&address](const auto &net) {
               return address.isInSubnet(net);
           });
}

QPixmap decoded(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > LargestSide || size.height() > LargestSide)
        return {};
    reader.setScaledSize(size.scaled(Thumbnails::Size, Qt::KeepAspectRatio));
    return QPixmap::fromImage(reader.read());
}

} // namespace

Thumbnails::Thumbnails(QObject *parent) : QObject(parent), m_pictures(KeptBytes)
{
    m_network.setCookieJar(nullptr);
}

QPixmap Thumbnails::picture(const QString &address, const QString &pageAddress)
{
    if (address.isEmpty() || m_unavailable.contains(address))
        return {};
    if (const QPixmap *kept = m_pictures.object(address))
        return *kept;
    if (address.startsWith(u"data:", Qt::CaseInsensitive)) {
        const qsizetype comma = address.indexOf(u',');
        const QByteArray data = address.mid(comma + 1).toLatin1();
        keep(address, address.left(comma).endsWith(u";base64", Qt::CaseInsensitive)
                          ? QByteArray::fromBase64(data)
                          : QByteArray::fromPercentEncoding(data));
        return m_pictures.contains(address) ? *m_pictures.object(address) : QPixmap();
    }
    const bool localAllowed = isLocal(QUrl(pageAddress));
    if (isLocal(QUrl(address)) && !localAllowed) {
        m_unavailable.insert(address);
        return {};
    }
    const auto waiting = [&address](const Wanted &wanted) { return wanted.address == address; };
    if (std::ranges::none_of(m_waiting, waiting)) {
        m_waiting.append({address, localAllowed});
        fetchNext();
    }
    return {};
}

void Thumbnails::cancelWaiting()
{
    m_waiting.clear();
}

void Thumbnails::fetchNext()
{
    while (m_fetching < AtOnce && !m_waiting.isEmpty()) {
        const auto [address, localAllowed] = m_waiting.takeLast(); // the last drawn is in sight
        QNetworkRequest request{QUrl(address)};
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::UserVerifiedRedirectPolicy);
        request.setMaximumRedirectsAllowed(3);
        request.setTransferTimeout(15000);
        request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
        request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
        QNetworkReply *reply = m_network.get(request);
        ++m_fetching;
        // A redirect may not lead where the first address could not go.
        connect(reply, &QNetworkReply::redirected, reply, [reply, localAllowed](const QUrl &to) {
            const bool web = to.scheme() == u"http" || to.scheme() == u"https";
            if (web && (localAllowed || !isLocal(to)))
                emit reply->redirectAllowed();
            else
                reply->abort();
        });
        connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received) {
            if (received > LargestFile)
                reply->abort();
        });
        connect(reply, &QNetworkReply::finished, this, [this, reply, address] {
            reply->deleteLater();
            --m_fetching;
            keep(address,
                 reply->error() == QNetworkReply::NoError ? reply->readAll() : QByteArray());
            emit arrived(address);
            fetchNext();
        });
    }
}

void Thumbnails::keep(const QString &address, const QByteArray &bytes)
{
    const QPixmap picture = bytes.isEmpty() ? QPixmap() : decoded(bytes);
    if (picture.isNull()) {
        m_unavailable.insert(address);
        return;
    }
    const qsizetype cost = qsizetype(picture.width()) * picture.height() * 4;
    m_pictures.insert(address, new QPixmap(picture), cost);
}
