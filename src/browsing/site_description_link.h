#ifndef REELHOP_BROWSING_SITE_DESCRIPTION_LINK_H
#define REELHOP_BROWSING_SITE_DESCRIPTION_LINK_H

#include <QObject>
#include <QUrl>

class QWebEnginePage;

// Where the page in a view describes its site's search (<link rel="search"> to an OpenSearch
// description), looked for in a world of the program's own once each page has loaded. Only a
// description on the page's own host counts: a page names no other site's.
class SiteDescriptionLink final : public QObject
{
    Q_OBJECT

public:
    explicit SiteDescriptionLink(QWebEnginePage *page);

    // Empty when the page shown declares none.
    QUrl address() const { return m_address; }

private:
    QWebEnginePage *m_page;
    QUrl m_address;
};

#endif
