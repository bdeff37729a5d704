#include "tab_page.h"

#include "page_protection.h"
#include "window_catcher.h"

TabPage::TabPage(QWebEngineProfile *profile, Hooks hooks, QObject *parent)
    : QWebEnginePage(profile, parent), m_protection(hooks.protection),
      m_dialogs(this, std::move(hooks.inSight), std::move(hooks.say))
{
}

bool TabPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    if (!isMainFrame)
        return true;
    const bool admitted = m_protection->admitPage(url, type == NavigationTypeLinkClicked);
    if (admitted)
        m_dialogs.reset();
    return admitted;
}

QWebEnginePage *TabPage::createWindow(WebWindowType)
{
    // One at a time: a page that opens windows in a loop cannot pile them up.
    delete m_catcher;
    m_catcher = new WindowCatcher(profile(), this);
    return m_catcher;
}

// A page's console is the page's business, not the terminal's.
void TabPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString &, int,
                                       const QString &)
{
}

void TabPage::javaScriptAlert(const QUrl &origin, const QString &message)
{
    m_dialogs.alert(origin, message);
}

bool TabPage::javaScriptConfirm(const QUrl &origin, const QString &message)
{
    return m_dialogs.confirm(origin, message);
}

bool TabPage::javaScriptPrompt(const QUrl &origin, const QString &message,
                               const QString &defaultValue, QString *result)
{
    return m_dialogs.prompt(origin, message, defaultValue, result);
}
