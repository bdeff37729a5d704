#ifndef REELHOP_BROWSING_WINDOW_CATCHER_H
#define REELHOP_BROWSING_WINDOW_CATCHER_H

#include <QWebEnginePage>

// The page of a new window a link asks for: it fetches nothing and sends its address to the
// page that opened it, so the link opens once, in its tab, keeping that page's history.
class WindowCatcher final : public QWebEnginePage
{
public:
    WindowCatcher(QWebEngineProfile *profile, QWebEnginePage *opener);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;

private:
    QWebEnginePage *m_opener;
};

#endif
