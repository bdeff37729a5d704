#ifndef REELHOP_BROWSING_WINDOW_CATCHER_H
#define REELHOP_BROWSING_WINDOW_CATCHER_H

#include <QWebEnginePage>
#include <functional>

// The page of a new window a link or a script asks for: it fetches nothing and hands its address
// to the page that opened it, which decides whether the window opens there, once, keeping that
// page's history.
class WindowCatcher final : public QWebEnginePage
{
public:
    WindowCatcher(QWebEngineProfile *profile, QWebEnginePage *opener,
                  std::function<void(const QUrl &)> asked);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;

private:
    std::function<void(const QUrl &)> m_asked;
};

#endif
