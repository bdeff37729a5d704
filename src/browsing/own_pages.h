#ifndef REELHOP_BROWSING_OWN_PAGES_H
#define REELHOP_BROWSING_OWN_PAGES_H

#include <QHash>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

// The program's own pages (the home page, the blocked page's notice), served at addresses of a
// scheme of its own. A page of HTML set into a view has no address of its own, which the engine
// cannot keep apart from other sites' pages in processes of their own.
class OwnPages final : public QWebEngineUrlSchemeHandler
{
public:
    static constexpr char Scheme[] = "reelhop";

    explicit OwnPages(QObject *parent = nullptr);

    // Once, before the engine starts: only the program's own pages may open these addresses.
    static void registerScheme();

    static bool isOwn(const QUrl &address);
    // A link on one of these pages to a bundled address without a page: a request to the program.
    static bool isRequest(const QUrl &link, const QUrl &page);
    // Where the notice of a blocked page is shown, and the page it stands for.
    static QUrl blockedPageAddress(const QUrl &blocked);
    static QUrl blockedAddressOf(const QUrl &address);

    // The page at the address from now on, for every view.
    void put(const QUrl &address, const QString &html);

    void requestStarted(QWebEngineUrlRequestJob *job) override;

private:
    QHash<QUrl, QByteArray> m_pages;
};

#endif
