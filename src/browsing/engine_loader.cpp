#include "engine_loader.h"

#include "browser_engine.h"
#include "engine_view.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QOpenGLContext>
#include <QOpenGLWidget>
#include <QTimer>
#include <QWindow>

// Qt's own hook for the context its applications share; exported, though not in a public header.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);

namespace {

// The longest pages wait for holdPages()'s reason: the blocker reads every list in under a second.
constexpr auto PagesHeldAtMost = std::chrono::seconds(10);

// The engine reads the shared OpenGL context as its libraries load, even when it paints in
// software. A program whose pages are painted in software does not have Qt make one with the
// application, as starting OpenGL would hold its window back; it is made here, once, before the
// engine's libraries load.
void shareOpenGLContexts()
{
    if (QOpenGLContext::globalShareContext())
        return;
    auto *shared = new QOpenGLContext(QCoreApplication::instance());
    shared->create();
    qt_gl_set_global_share_context(shared);
}

} // namespace

EngineLoader::EngineLoader(QString modulePath) : m_module(std::move(modulePath)) {}

// The views the engine made belong to the window; the engine outlives none of them.
EngineLoader::~EngineLoader() = default;

QString EngineLoader::installedModulePath()
{
    const QDir program(QCoreApplication::applicationDirPath());
    const QString beside = program.filePath(QStringLiteral("reelhop_webengine.so"));
    if (QFile::exists(beside))
        return beside;
    return QDir::cleanPath(program.filePath(QStringLiteral(REELHOP_MODULE_FROM_PROGRAM) +
                                            QStringLiteral("/reelhop_webengine.so")));
}

BrowserViewFactory EngineLoader::factory()
{
    return [this](QWidget *parent) {
        return new EngineView([this](EngineView *view) { requestView(view); }, parent);
    };
}

void EngineLoader::setUserAgent(const QString &userAgent)
{
    m_settings.userAgent = userAgent;
}

void EngineLoader::setRequestPolicy(const RequestPolicy *policy)
{
    m_settings.policy = policy;
}

QString EngineLoader::engineVersion(const QString &modulePath)
{
    QLibrary module(modulePath);
    const auto version = reinterpret_cast<EngineVersion>(module.resolve(EngineVersionSymbol));
    return version ? version() : QString();
}

void EngineLoader::prepareWindow(QWidget *window, PageCompositing compositing)
{
    // Qt re-creates a shown window, dropping its maximized state, when the first widget that
    // draws through OpenGL joins it, as a page does then. A hidden one there from the start
    // makes the window right the first time.
    if (compositing == PageCompositing::OpenGL) {
        auto *surfaceHint = new QOpenGLWidget(window);
        surfaceHint->setObjectName(QStringLiteral("engineSurfaceHint"));
        surfaceHint->setAttribute(Qt::WA_DontShowOnScreen);
        surfaceHint->hide();
    }

    window->winId();
    window->windowHandle()->installEventFilter(this);
    // A window the desktop never shows (started minimized, say) must not keep the pages waiting.
    QTimer::singleShot(std::chrono::seconds(3), this, &EngineLoader::release);
}

bool EngineLoader::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Expose && static_cast<QWindow *>(watched)->isExposed()) {
        watched->removeEventFilter(this);
        // After the window's first paint, which this very event brings.
        QTimer::singleShot(0, this, &EngineLoader::release);
    }
    return QObject::eventFilter(watched, event);
}

void EngineLoader::release()
{
    if (!std::exchange(m_held, false) || m_waiting.isEmpty() || std::exchange(m_serveQueued, true))
        return;
    serveWaitingViews();
}

void EngineLoader::holdPages()
{
    m_pagesHeld = true;
    // Whatever keeps them (a list on a disk that hangs) never keeps them from loading at all.
    QTimer::singleShot(PagesHeldAtMost, this, &EngineLoader::releasePages);
}

void EngineLoader::releasePages()
{
    if (std::exchange(m_pagesHeld, false))
        openViews();
}

void EngineLoader::requestView(EngineView *view)
{
    m_waiting.append(view);
    if (m_held || std::exchange(m_serveQueued, true))
        return;
    QTimer::singleShot(0, this, &EngineLoader::serveWaitingViews);
}

void EngineLoader::serveWaitingViews()
{
    m_serveQueued = false;
    if (!m_engine && m_failure.isEmpty()) {
        shareOpenGLContexts();
        const auto create =
            reinterpret_cast<CreateBrowserEngine>(m_module.resolve(CreateBrowserEngineSymbol));
        if (create)
            m_engine.reset(create(m_settings));
        else
            m_failure = tr("the web engine is missing (%1)").arg(m_module.errorString());
    }
    for (const QPointer<EngineView> &view : std::exchange(m_waiting, {})) {
        if (!view)
            continue;
        if (!m_engine) {
            view->engineFailed(m_failure);
            continue;
        }
        // Made while pages are held, so that they load the moment they may.
        view->attach(m_engine->createView(view));
        m_unopened.append(view);
    }
    openViews();
}

void EngineLoader::openViews()
{
    if (m_pagesHeld)
        return;
    for (const QPointer<EngineView> &view : std::exchange(m_unopened, {}))
        if (view)
            view->open();
}
