#include "web_engine.h"

#include "blocking/request_policy.h"
#include "frame_rules.h"
#include "own_pages.h"
#include "stand_in_server.h"
#include "web_engine_view.h"

#include <QRegularExpression>
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

using namespace Qt::StringLiterals;

namespace {

// Sites key on the engine's own token and answer it with "browser not supported" pages; the
// Chrome version beside it stays, so no site is told of features the engine lacks.
QString withoutEngineToken(QString userAgent)
{
    static const QRegularExpression token(u"QtWebEngine/\\S*\\s*"_s);
    return userAgent.remove(token);
}

} // namespace

WebEngine::WebEngine(const QString &storageName, const EngineSettings &settings)
    : m_policy(settings.policy)
{
    // The engine takes schemes only before it starts, which making the first profile does.
    OwnPages::registerScheme();
    StandInServer::registerScheme();
    m_profile = std::make_unique<QWebEngineProfile>(storageName);
    m_ownPages = new OwnPages(m_profile.get());
    m_frameRules = new FrameRules(m_profile.get());
    m_profile->installUrlSchemeHandler(OwnPages::Scheme, m_ownPages);
    m_profile->installUrlSchemeHandler(RequestPolicy::StandInScheme,
                                       new StandInServer(m_policy, m_profile.get()));
    m_profile->setHttpUserAgent(settings.userAgent.isEmpty()
                                    ? withoutEngineToken(m_profile->httpUserAgent())
                                    : settings.userAgent);
    // A named profile keeps cookies and cache in the user's data folder between runs.
    QWebEngineSettings *pages = m_profile->settings();
    pages->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, true);
    // As browsers block pop-ups: a page opens a window only when the user asks for one.
    pages->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    // The engine has no security support for untrusted pages, and every page here is one: each
    // way a page reaches beyond itself that a results page does not need is shut.
    pages->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    pages->setAttribute(QWebEngineSettings::AllowRunningInsecureContent, false);
    pages->setAttribute(QWebEngineSettings::HyperlinkAuditingEnabled, false);
    pages->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
    pages->setAttribute(QWebEngineSettings::WebRTCPublicInterfacesOnly, true);
    // Third-party cookies follow the user from site to site; sign-ins and consent choices only
    // need the site's own.
    m_profile->cookieStore()->setCookieFilter(
        [](const QWebEngineCookieStore::FilterRequest &request) { return !request.thirdParty; });
}

WebEngine::~WebEngine() = default;

BrowserView *WebEngine::createView(QWidget *parent)
{
    return new WebEngineView({m_profile.get(), m_ownPages, &m_downloads, m_frameRules, m_policy},
                             parent);
}

extern "C" Q_DECL_EXPORT BrowserEngine *reelhopCreateBrowserEngine(const EngineSettings &settings)
{
    return new WebEngine(QStringLiteral("Reelhop"), settings);
}

extern "C" Q_DECL_EXPORT QString reelhopEngineVersion()
{
    return QObject::tr("Chromium %1, security fixes to %2")
        .arg(QLatin1StringView(qWebEngineChromiumVersion()),
             QLatin1StringView(qWebEngineChromiumSecurityPatchVersion()));
}
