#include "page_protection.h"

#include "blocking/request_policy.h"
#include "frame_rules.h"
#include "hiding_names.h"
#include "hiding_script.h"
#include "own_pages.h"

#include <QTimer>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineUrlRequestInterceptor>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr char HidingScriptName[] = "reelhop-hiding";
constexpr char FrameScriptName[] = "reelhop-in-page-rules";
// A page that frames a new site at every turn cannot have the profile keep more of their rules.
constexpr qsizetype MostFrameHosts = 32;

bool isWebAddress(const QUrl &url)
{
    const QString scheme = url.scheme();
    return scheme == u"http" || scheme == u"https" || scheme == u"ws" || scheme == u"wss";
}

Blocking::RequestType requestType(QWebEngineUrlRequestInfo::ResourceType type)
{
    using Info = QWebEngineUrlRequestInfo;
    using Blocking::RequestType;
    switch (type) {
    case Info::ResourceTypeMainFrame:
    case Info::ResourceTypeNavigationPreloadMainFrame:
        return RequestType::Document;
    case Info::ResourceTypeSubFrame:
    case Info::ResourceTypeNavigationPreloadSubFrame:
        return RequestType::Subdocument;
    case Info::ResourceTypeStylesheet:
        return RequestType::Stylesheet;
    case Info::ResourceTypeScript:
    case Info::ResourceTypeWorker:
    case Info::ResourceTypeSharedWorker:
    case Info::ResourceTypeServiceWorker:
        return RequestType::Script;
    case Info::ResourceTypeImage:
    case Info::ResourceTypeFavicon:
        return RequestType::Image;
    case Info::ResourceTypeFontResource:
        return RequestType::Font;
    case Info::ResourceTypeObject:
    case Info::ResourceTypePluginResource:
        return RequestType::Object;
    case Info::ResourceTypeMedia:
        return RequestType::Media;
    case Info::ResourceTypeXhr:
        return RequestType::XmlHttpRequest;
    case Info::ResourceTypePing:
    case Info::ResourceTypeCspReport:
        return RequestType::Ping;
    case Info::ResourceTypeWebSocket:
        return RequestType::WebSocket;
    default:
        return RequestType::Other;
    }
}

// The program's page in place of a blocked one; every value in it is escaped.
QString blockedPage(const QUrl &address, const QString &rule)
{
    const QString shown = address.toDisplayString().toHtmlEscaped();
    const QString link = QString::fromUtf8(address.toEncoded()).toHtmlEscaped();
    return QObject::tr("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Blocked</title>"
                       "<style>body{font-family:sans-serif;margin:3em;max-width:50em}"
                       "code{word-break:break-all}</style></head><body>"
                       "<h1>Reelhop blocked this page</h1><p><code>%1</code></p>"
                       "<p>A filter list names it: <code>%2</code></p>"
                       "<p><a id=\"open-once\" href=\"%3\">Open it this once</a></p></body></html>")
        .arg(shown, rule.toHtmlEscaped(), link);
}

} // namespace

// Asks the policy before each request of the page's own frames and subresources.
class RequestFilter final : public QWebEngineUrlRequestInterceptor
{
public:
    explicit RequestFilter(PageProtection *protection)
        : QWebEngineUrlRequestInterceptor(protection), m_protection(protection)
    {
    }

    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        const Blocking::RequestType type = requestType(info.resourceType());
        // The page itself was asked about before it was opened.
        if (type == Blocking::RequestType::Document || !isWebAddress(info.requestUrl()) ||
            !m_protection->m_policy)
            return;
        const RequestVerdict verdict =
            m_protection->m_policy->verdict(info.requestUrl(), info.firstPartyUrl(), type);
        // Every engine asks here about a frame before it loads (not all ask the page).
        if (type == Blocking::RequestType::Subdocument && verdict.blockingRule.isEmpty())
            m_protection->prepareFrame(info.requestUrl());
        if (!verdict.blockingRule.isEmpty())
            m_protection->countBlocked();
        if (verdict.redirect.isValid())
            info.redirect(verdict.redirect);
        else if (!verdict.blockingRule.isEmpty() && type == Blocking::RequestType::Subdocument)
            info.redirect(RequestPolicy::standInAddress(
                QString::fromLatin1(RequestPolicy::BlockedFrameName)));
        else if (!verdict.blockingRule.isEmpty())
            info.block(true);
    }

private:
    PageProtection *m_protection;
};

PageProtection::PageProtection(const RequestPolicy *policy, OwnPages *ownPages,
                               FrameRules *frameRules, QObject *parent)
    : QObject(parent), m_policy(policy), m_ownPages(ownPages), m_frameRules(frameRules),
      m_filter(new RequestFilter(this)), m_hidingNames(new HidingNames(this))
{
}

PageProtection::~PageProtection()
{
    if (m_frameRules)
        m_frameRules->withdraw(this);
}

void PageProtection::protect(QWebEnginePage *page)
{
    m_page = page;
    page->setUrlRequestInterceptor(m_filter);
    // Only the program's own world sees the channel: the hiding script asks it, the page cannot.
    auto *channel = new QWebChannel(page);
    channel->registerObject(u"hider"_s, m_hidingNames);
    page->setWebChannel(channel, QWebEngineScript::ApplicationWorld);
}

bool PageProtection::admitPage(const QUrl &address, bool clicked)
{
    if (!isWebAddress(address) || !m_policy) {
        prepareFor(address);
        return true;
    }
    const bool openOnce = clicked && address == std::exchange(m_blockedShown, QUrl());
    const RequestVerdict verdict =
        openOnce ? RequestVerdict()
                 : m_policy->verdict(address, address, Blocking::RequestType::Document);
    const QString &rule = verdict.blockingRule;
    if (rule.isEmpty() && verdict.redirect.isValid()) {
        // The same page without the parameters that follow people from site to site.
        QTimer::singleShot(0, m_page, [page = m_page, to = verdict.redirect] { page->setUrl(to); });
        return false;
    }
    if (!rule.isEmpty()) {
        m_blockedShown = address;
        // Not from inside the engine's question.
        const QUrl notice = OwnPages::blockedPageAddress(address);
        m_ownPages->put(notice, blockedPage(address, rule));
        QTimer::singleShot(0, m_page, [page = m_page, notice] { page->setUrl(notice); });
        return false;
    }
    m_blocked = 0;
    emit blockedCountChanged(0);
    if (address.adjusted(QUrl::RemoveFragment) != m_preparedFor)
        prepareFor(address);
    return true;
}

bool PageProtection::admitWindow(const QUrl &address, const QUrl &opener)
{
    if (!m_policy || !isWebAddress(address) ||
        m_policy->blockingRule(address, opener, Blocking::RequestType::Popup).isEmpty())
        return true;
    countBlocked();
    return false;
}

void PageProtection::prepareFor(const QUrl &page)
{
    m_preparedFor = page.adjusted(QUrl::RemoveFragment);
    setHidingStyle(page);
    QWebEngineScriptCollection &scripts = m_page->scripts();
    for (const QWebEngineScript &old : scripts.find(QString::fromLatin1(FrameScriptName)))
        scripts.remove(old);
    m_frameHosts.clear();
    if (m_frameRules)
        m_frameRules->withdraw(this);
    const QString host = page.host(QUrl::FullyEncoded).toLower();
    if (!m_policy || !isWebAddress(page) || host.isEmpty())
        return;
    // Made anew each time, for the user's choices may have changed. They run in the page and in
    // its frames of the same host, which share its process, and only there.
    const QList<QWebEngineScript> made =
        FrameRules::scripts(QString::fromLatin1(FrameScriptName),
                            u"location.hostname === "_s + FrameRules::quoted(host),
                            m_policy->frameScripts(page, m_preparedFor));
    for (const QWebEngineScript &script : made)
        scripts.insert(script);
}

void PageProtection::prepareFrame(const QUrl &frame)
{
    const QString host = frame.host(QUrl::FullyEncoded).toLower();
    const QString pageHost = m_preparedFor.host(QUrl::FullyEncoded).toLower();
    if (!m_policy || !m_frameRules || !isWebAddress(frame) || host.isEmpty() || host == pageHost ||
        m_frameHosts.contains(host) || m_frameHosts.size() >= MostFrameHosts)
        return;
    m_frameHosts.insert(host);
    m_frameRules->add(this, host, pageHost, m_policy->frameScripts(frame, m_preparedFor));
}

void PageProtection::countBlocked()
{
    emit blockedCountChanged(++m_blocked);
}

void PageProtection::setHidingStyle(const QUrl &page)
{
    QWebEngineScriptCollection &scripts = m_page->scripts();
    for (const QWebEngineScript &old : scripts.find(QString::fromLatin1(HidingScriptName)))
        scripts.remove(old);
    const PageHiding hiding =
        m_policy && isWebAddress(page) ? m_policy->hiding(page) : PageHiding();
    m_hidingNames->setLookUp(hiding.byName);
    if (hiding.isEmpty())
        return;
    QWebEngineScript script;
    script.setName(QString::fromLatin1(HidingScriptName));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setRunsOnSubFrames(false);
    script.setSourceCode(hidingScript(hiding));
    scripts.insert(script);
}
