#include "site_description_link.h"

#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineScript>

using namespace Qt::StringLiterals;

SiteDescriptionLink::SiteDescriptionLink(QWebEnginePage *page) : QObject(page), m_page(page)
{
    connect(page, &QWebEnginePage::loadStarted, this, [this] { m_address.clear(); });
    connect(page, &QWebEnginePage::loadFinished, this, [this](bool loaded) {
        if (!loaded)
            return;
        const QString script =
            u"(l => l ? l.href : '')(document.querySelector('link[rel~="
            "\"search\" i][type=\"application/opensearchdescription+xml\" i]'))"_s;
        const QUrl page = m_page->url();
        m_page->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                              [self = QPointer(this), page](const QVariant &href) {
                                  const QUrl link(href.toString());
                                  if (self && self->m_page->url() == page &&
                                      (link.scheme() == u"https" || link.scheme() == u"http") &&
                                      link.host() == page.host() && !page.host().isEmpty())
                                      self->m_address = link;
                              });
    });
}
