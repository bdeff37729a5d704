#include "window_catcher.h"

#include <QTimer>

using namespace Qt::StringLiterals;

WindowCatcher::WindowCatcher(QWebEngineProfile *profile, QWebEnginePage *opener)
    : QWebEnginePage(profile, opener), m_opener(opener)
{
}

bool WindowCatcher::acceptNavigationRequest(const QUrl &url, NavigationType, bool isMainFrame)
{
    if (!isMainFrame || url.isEmpty() || url.scheme() == u"about")
        return true;
    QTimer::singleShot(0, m_opener, [opener = m_opener, url] { opener->setUrl(url); });
    deleteLater();
    return false;
}
