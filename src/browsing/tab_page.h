#ifndef REELHOP_BROWSING_TAB_PAGE_H
#define REELHOP_BROWSING_TAB_PAGE_H

#include "page_dialogs.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWebEnginePage>

class PageProtection;

// A tab's page. Every page it opens passes the blocker first; a new window a link asks for
// opens in the tab, unless the click that opened it led the tab elsewhere (a pop-under riding
// a link); its dialogs are the tab's to allow.
class TabPage final : public QWebEnginePage
{
public:
    struct Hooks
    {
        PageProtection *protection = nullptr;
        std::function<bool()> inSight;
        std::function<void(const QString &)> say;
        std::function<void(const QUrl &)> ownLinkFollowed;
    };

    TabPage(QWebEngineProfile *profile, Hooks hooks, QObject *parent);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage *createWindow(WebWindowType type) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message,
                                  int line, const QString &source) override;
    void javaScriptAlert(const QUrl &origin, const QString &message) override;
    bool javaScriptConfirm(const QUrl &origin, const QString &message) override;
    bool javaScriptPrompt(const QUrl &origin, const QString &message, const QString &defaultValue,
                          QString *result) override;

private:
    void windowAsked(const QUrl &url);

    PageProtection *m_protection;
    std::function<void(const QUrl &)> m_ownLinkFollowed;
    PageDialogs m_dialogs;
    QPointer<QWebEnginePage> m_catcher;
    QUrl m_windowAsked;           // waits out the click that may have asked for it
    QTimer m_clickSpan;           // running while a click's own navigation may still come
    QElapsedTimer m_linkFollowed; // since the tab last followed a link
    bool m_linkLoading = false;   // the page a link led to is loading
};

#endif
