#include "window_catcher.h"

using namespace Qt::StringLiterals;

WindowCatcher::WindowCatcher(QWebEngineProfile *profile, QWebEnginePage *opener,
                             std::function<void(const QUrl &)> asked)
    : QWebEnginePage(profile, opener), m_asked(std::move(asked))
{
}

bool WindowCatcher::acceptNavigationRequest(const QUrl &url, NavigationType, bool isMainFrame)
{
    if (!isMainFrame || url.isEmpty() || url.scheme() == u"about")
        return true;
    m_asked(url);
    deleteLater();
    return false;
}
