#include "own_pages.h"

#include <QBuffer>
#include <QFile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

using namespace Qt::StringLiterals;

namespace {

constexpr QStringView BlockedPath = u"blocked";
// A blocked page's notice is kept for each address; a page that is blocked at every address it
// makes up cannot make the program keep more than these.
constexpr qsizetype MostNotices = 64;

} // namespace

OwnPages::OwnPages(QObject *parent) : QWebEngineUrlSchemeHandler(parent) {}

void OwnPages::registerScheme()
{
    QWebEngineUrlScheme scheme(Scheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    // A web page can neither open nor frame nor fetch them.
    scheme.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::NoAccessAllowed);
    QWebEngineUrlScheme::registerScheme(scheme);
}

bool OwnPages::isOwn(const QUrl &address)
{
    return address.scheme() == QLatin1StringView(Scheme);
}

QUrl OwnPages::blockedPageAddress(const QUrl &blocked)
{
    // The address whole in the query, every byte but letters and digits encoded.
    return QUrl::fromEncoded(QByteArray(Scheme) + ':' + BlockedPath.toLatin1() + '?' +
                                 QUrl::toPercentEncoding(blocked.toString(QUrl::FullyEncoded)),
                             QUrl::StrictMode);
}

QUrl OwnPages::blockedAddressOf(const QUrl &address)
{
    if (!isOwn(address) || address.path() != BlockedPath)
        return {};
    return QUrl::fromEncoded(
        QUrl::fromPercentEncoding(address.query(QUrl::FullyEncoded).toLatin1()).toLatin1(),
        QUrl::StrictMode);
}

bool OwnPages::isRequest(const QUrl &link, const QUrl &page)
{
    // The engine lets no web page reach the program's addresses, nor its own pages each other:
    // the program's bundled addresses are the ones its pages can link to.
    return isOwn(page) && link.scheme() == u"qrc" && !QFile::exists(u':' + link.path());
}

void OwnPages::put(const QUrl &address, const QString &html)
{
    const auto isNotice = [](const QUrl &page) { return page.path() == BlockedPath; };
    if (isNotice(address) && !m_pages.contains(address) &&
        std::count_if(m_pages.keyBegin(), m_pages.keyEnd(), isNotice) >= MostNotices)
        m_pages.removeIf([&](const auto &page) { return isNotice(page.key()); });
    m_pages.insert(address, html.toUtf8());
}

void OwnPages::requestStarted(QWebEngineUrlRequestJob *job)
{
    const auto page = m_pages.constFind(job->requestUrl());
    if (page == m_pages.cend()) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    auto *body = new QBuffer(job);
    body->setData(*page);
    job->reply("text/html;charset=utf-8", body);
}
