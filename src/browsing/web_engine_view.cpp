#include "web_engine_view.h"

#include <QCloseEvent>
#include <QKeySequence>
#include <QPrintDialog>
#include <QPrinter>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <QWebEngineLoadingInfo>
#include <QQuickWidget>
#include <QWindow>

namespace {

// The program has one view per tab, so a link that asks for a new window opens in the page that
// holds it, keeping that page's history: the new window is a stand-in page that only reports
// where it is sent.
class SameWindowPage final : public QWebEnginePage
{
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    QWebEnginePage *createWindow(WebWindowType) override
    {
        // One stand-in at a time: a page that opens windows in a loop cannot pile them up.
        delete m_standIn;
        m_standIn = new QWebEnginePage(profile(), this);
        connect(m_standIn, &QWebEnginePage::urlChanged, this, [this](const QUrl &url) {
            if (url.isEmpty() || url.scheme() == u"about")
                return;
            m_standIn->deleteLater();
            setUrl(url);
        });
        return m_standIn;
    }

private:
    QPointer<QWebEnginePage> m_standIn;
};

// Esc or the window's close box asks the page to leave full screen, so the page is handed back.
class FullScreenView final : public QWebEngineView
{
public:
    explicit FullScreenView(QWebEnginePage *page)
    {
        setPage(page);
        auto *leave = new QShortcut(QKeySequence(Qt::Key_Escape), this);
        connect(leave, &QShortcut::activated, this, &FullScreenView::leave);
    }

protected:
    void closeEvent(QCloseEvent *event) override
    {
        event->ignore();
        leave();
    }

private:
    void leave() { triggerPageAction(QWebEnginePage::ExitFullScreen); }
};

// The engine's stand-in title for a page without one: the address as a browser shows it, with
// or without its scheme and a bare host's slash, or a local file's name.
bool isAddressStandIn(const QString &title, const QUrl &url)
{
    if (title.isEmpty() || url.isEmpty())
        return title.isEmpty();
    const QList<QString> forms{
        url.toString(),
        url.toDisplayString(),
        url.toDisplayString(QUrl::RemoveScheme | QUrl::RemoveUserInfo).mid(2),
        url.toDisplayString(QUrl::RemoveScheme | QUrl::RemoveUserInfo | QUrl::StripTrailingSlash)
            .mid(2),
        url.isLocalFile() ? url.fileName() : QString(),
    };
    return forms.contains(title);
}

} // namespace

WebEngineViews::WebEngineViews(QString storageName) : m_storageName(std::move(storageName)) {}

WebEngineViews::~WebEngineViews() = default;

BrowserViewFactory WebEngineViews::factory()
{
    return [this](QWidget *parent) { return new WebEngineView(*this, parent); };
}

QWebEngineProfile *WebEngineViews::profile()
{
    if (!m_profile) {
        // A named profile keeps cookies and cache in the user's data folder between runs.
        m_profile = std::make_unique<QWebEngineProfile>(m_storageName);
        m_profile->settings()->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, true);
        // As browsers block pop-ups: a page opens a window only when the user asks for one.
        m_profile->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    }
    return m_profile.get();
}

void WebEngineViews::prepareWindow(QWidget *window)
{
    // Qt re-creates a shown window, dropping its maximized state, when the first view that
    // renders through the graphics stack joins it. A hidden widget of that kind, there from the
    // start, makes the window right the first time.
    auto *surfaceHint = new QQuickWidget(window);
    surfaceHint->setObjectName(QStringLiteral("engineSurfaceHint"));
    surfaceHint->setAttribute(Qt::WA_DontShowOnScreen);
    surfaceHint->hide();

    window->winId();
    m_held = true;
    window->windowHandle()->installEventFilter(this);
}

bool WebEngineViews::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Expose && static_cast<QWindow *>(watched)->isExposed()) {
        watched->removeEventFilter(this);
        // After the window's first paint, which this very event brings.
        QTimer::singleShot(0, this, &WebEngineViews::release);
    }
    return QObject::eventFilter(watched, event);
}

void WebEngineViews::release()
{
    m_held = false;
    for (const QPointer<WebEngineView> &view : std::exchange(m_waiting, {})) {
        if (view)
            view->startEngine();
    }
}

void WebEngineViews::scheduleStart(WebEngineView *view)
{
    if (m_held)
        m_waiting.append(view);
    else
        QTimer::singleShot(0, view, &WebEngineView::startEngine);
}

WebEngineView::WebEngineView(WebEngineViews &engine, QWidget *parent)
    : BrowserView(parent), m_engine(engine)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

WebEngineView::~WebEngineView()
{
    delete m_fullScreenView;
}

bool WebEngineView::navigate(const QString &address)
{
    const QUrl url = QUrl::fromUserInput(address);
    if (!url.isValid())
        return false;
    // A pasted "javascript:" address would run in the shown site's page, with its cookies.
    if (url.scheme() == u"javascript") {
        emit statusTextChanged(tr("Addresses that run scripts are not opened."));
        return false;
    }
    if (m_view) {
        m_view->setUrl(url);
        return true;
    }
    // The engine takes a moment to start and the window comes first: keep the request, in order.
    m_pendingNavigations.append(url);
    if (!m_startScheduled) {
        m_startScheduled = true;
        m_engine.scheduleStart(this);
    }
    return true;
}

void WebEngineView::startEngine()
{
    if (m_view)
        return;
    m_view = new QWebEngineView(this);
    auto *page = new SameWindowPage(m_engine.profile(), m_view);
    page->setAudioMuted(m_muted);
    m_view->setPage(page);
    layout()->addWidget(m_view);

    connect(page, &QWebEnginePage::linkHovered, this, &BrowserView::statusTextChanged);
    connect(page, &QWebEnginePage::loadingChanged, this, &WebEngineView::followLoading);
    connect(page, &QWebEnginePage::loadProgress, this, [this](int progress) {
        m_lastProgress = progress;
        emit progressChanged(progress, 100);
    });
    // Sites that change their address without a full load must still move the address box.
    connect(page, &QWebEnginePage::urlChanged, this,
            [this] { emit progressChanged(m_lastProgress, 100); });
    connect(page, &QWebEnginePage::fullScreenRequested, this, &WebEngineView::toggleFullScreen);

    for (const QUrl &url : std::exchange(m_pendingNavigations, {}))
        m_view->setUrl(url);
}

void WebEngineView::followLoading(const QWebEngineLoadingInfo &info)
{
    switch (info.status()) {
    case QWebEngineLoadingInfo::LoadStartedStatus:
        m_lastProgress = 0;
        m_failureReason.clear();
        setLoadState(LoadState::Loading);
        emit statusTextChanged(tr("Opening %1").arg(info.url().toString()));
        emit progressChanged(0, 100);
        break;
    case QWebEngineLoadingInfo::LoadSucceededStatus:
        setLoadState(LoadState::Loaded);
        emit statusTextChanged(tr("Done"));
        break;
    case QWebEngineLoadingInfo::LoadStoppedStatus:
        setLoadState(LoadState::Idle);
        emit statusTextChanged(tr("Stopped"));
        break;
    case QWebEngineLoadingInfo::LoadFailedStatus:
        m_failureReason = info.errorString();
        setLoadState(LoadState::Failed);
        emit statusTextChanged(tr("The page could not be loaded: %1").arg(m_failureReason));
        break;
    }
}

void WebEngineView::setLoadState(LoadState state)
{
    m_loadState = state;
    emit loadStateChanged(state);
}

void WebEngineView::toggleFullScreen(QWebEngineFullScreenRequest request)
{
    if (request.toggleOn() == !m_fullScreenView.isNull()) {
        request.accept();
        return;
    }
    request.accept();
    if (request.toggleOn()) {
        // Video players expect the page itself to fill the screen: it moves to a full-screen view
        // of its own and comes back when the page leaves full screen.
        m_fullScreenView = new FullScreenView(m_view->page());
        m_fullScreenView->showFullScreen();
    } else {
        m_view->setPage(m_fullScreenView->page());
        delete m_fullScreenView;
    }
}

bool WebEngineView::goBack()
{
    if (!m_view || !m_view->history()->canGoBack())
        return false;
    m_view->back();
    return true;
}

bool WebEngineView::goForward()
{
    if (!m_view || !m_view->history()->canGoForward())
        return false;
    m_view->forward();
    return true;
}

bool WebEngineView::stop()
{
    if (!m_view)
        return false;
    m_view->stop();
    return true;
}

bool WebEngineView::refresh()
{
    if (!m_view)
        return false;
    m_view->reload();
    return true;
}

bool WebEngineView::printWithDialog()
{
    if (!m_view || m_printer)
        return false;
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(m_printer.get(), this);
    if (dialog.exec() != QDialog::Accepted) {
        m_printer.reset();
        return false;
    }
    // The engine prints in the background; the printer must live until it is done.
    connect(
        m_view, &QWebEngineView::printFinished, this, [this] { m_printer.reset(); },
        Qt::SingleShotConnection);
    m_view->print(m_printer.get());
    return true;
}

QString WebEngineView::locationUrl() const
{
    if (m_view && !m_view->url().isEmpty())
        return m_view->url().toString();
    if (!m_pendingNavigations.isEmpty())
        return m_pendingNavigations.constLast().toString();
    return QStringLiteral("http:///"); // where a view is before it is first sent anywhere
}

QString WebEngineView::title() const
{
    if (!m_view)
        return {};
    // The engine shows a page without a title by its address; that is no title of the page's.
    const QString shown = m_view->title();
    return isAddressStandIn(shown, m_view->url()) ? QString() : shown;
}

BrowserView::LoadState WebEngineView::loadState() const
{
    return m_loadState;
}

int WebEngineView::loadProgress() const
{
    return m_lastProgress;
}

QString WebEngineView::failureReason() const
{
    return m_failureReason;
}

void WebEngineView::setMuted(bool muted)
{
    m_muted = muted;
    if (m_view)
        m_view->page()->setAudioMuted(muted);
}
