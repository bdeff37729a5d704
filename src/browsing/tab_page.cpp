#include "tab_page.h"

#include "own_pages.h"
#include "page_protection.h"
#include "window_catcher.h"

#include <QWebEngineLoadingInfo>

namespace {

// How long after a click its handler's window and the click's own navigation may come apart:
// both are sent by the page at once, so this only waits out the window's thread.
constexpr int ClickSpanMs = 250;

} // namespace

TabPage::TabPage(QWebEngineProfile *profile, Hooks hooks, QObject *parent)
    : QWebEnginePage(profile, parent), m_protection(hooks.protection),
      m_ownLinkFollowed(std::move(hooks.ownLinkFollowed)),
      m_dialogs(this, std::move(hooks.inSight), std::move(hooks.say))
{
    m_clickSpan.setSingleShot(true);
    m_clickSpan.setInterval(ClickSpanMs);
    connect(&m_clickSpan, &QTimer::timeout, this,
            [this] { setUrl(std::exchange(m_windowAsked, {})); });
    connect(this, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo &info) {
        if (info.status() != QWebEngineLoadingInfo::LoadStartedStatus)
            m_linkLoading = false;
    });
}

bool TabPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    if (!isMainFrame)
        return true;
    const bool linkFollowed = type == NavigationTypeLinkClicked;
    if (linkFollowed && OwnPages::isRequest(url, this->url())) {
        m_ownLinkFollowed(url);
        return false;
    }
    const bool admitted = m_protection->admitPage(url, linkFollowed);
    if (admitted)
        m_dialogs.reset();
    if (admitted && linkFollowed) {
        // The click led the tab here: a window its handler opened stays shut.
        m_linkFollowed.start();
        m_linkLoading = true;
        m_clickSpan.stop();
        m_windowAsked.clear();
    }
    return admitted;
}

QWebEnginePage *TabPage::createWindow(WebWindowType)
{
    // One at a time: a page that opens windows in a loop cannot pile them up.
    delete m_catcher;
    m_catcher = new WindowCatcher(profile(), this, [this](const QUrl &url) { windowAsked(url); });
    return m_catcher;
}

void TabPage::windowAsked(const QUrl &url)
{
    if (!m_protection->admitWindow(url, this->url()))
        return;
    // A window asked for while the tab loads the page a click just led to rode that click.
    if (m_linkLoading && m_linkFollowed.elapsed() < ClickSpanMs)
        return;
    m_windowAsked = url;
    m_clickSpan.start();
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
