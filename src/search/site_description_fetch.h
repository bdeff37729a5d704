#ifndef REELHOP_SEARCH_SITE_DESCRIPTION_FETCH_H
#define REELHOP_SEARCH_SITE_DESCRIPTION_FETCH_H

#include "open_search.h"

#include <QNetworkAccessManager>
#include <QObject>

// Fetches the description of a site's search that a page declared: from the page's own host
// only (over https for an https page), redirected only within it, at most 64 KiB, without cookies,
// given up after 15 seconds.
class SiteDescriptionFetch final : public QObject
{
    Q_OBJECT

public:
    explicit SiteDescriptionFetch(QObject *parent = nullptr);

    void fetch(const QUrl &description, const QUrl &page);

signals:
    void read(const OpenSearch::Reading &reading);

private:
    QNetworkAccessManager m_network;
};

#endif
