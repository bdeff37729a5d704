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
        auto *standIn = new QWebEnginePage(profile(), this);
        connect(standIn, &QWebEnginePage::urlChanged, this, [this, standIn](const QUrl &url) {
            if (url.isEmpty() || url.scheme() == u"about")
                return;
            standIn->deleteLater();
            setUrl(url);
        });
        return standIn;
    }
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

} // namespace

WebEngineViews::WebEngineViews(QString storageName) : m_storageName(std::move(storageName)) {}

WebEngineViews::~WebEngineViews() = default;

BrowserViewFactory WebEngineViews::factory()
{
    return
        [this](QWidget *parent) { return new WebEngineView([this] { return profile(); }, parent); };
}

QWebEngineProfile *WebEngineViews::profile()
{
    if (!m_profile) {
        // A named profile keeps cookies and cache in the user's data folder between runs.
        m_profile = std::make_unique<QWebEngineProfile>(m_storageName);
        m_profile->settings()->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, true);
    }
    return m_profile.get();
}

WebEngineView::WebEngineView(std::function<QWebEngineProfile *()> profile, QWidget *parent)
    : BrowserView(parent), m_profile(std::move(profile))
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
    if (m_view) {
        m_view->setUrl(url);
        return true;
    }
    // The window is shown before the engine starts, which takes a moment: keep the request and
    // start the engine from the event loop.
    m_pendingNavigations.append(url);
    if (!m_engineStartQueued) {
        m_engineStartQueued = true;
        QTimer::singleShot(0, this, &WebEngineView::startEngine);
    }
    return true;
}

void WebEngineView::startEngine()
{
    m_view = new QWebEngineView(this);
    auto *page = new SameWindowPage(m_profile(), m_view);
    m_view->setPage(page);
    layout()->addWidget(m_view);

    connect(page, &QWebEnginePage::linkHovered, this, &BrowserView::statusTextChanged);
    connect(page, &QWebEnginePage::loadStarted, this, [this] {
        m_lastProgress = 0;
        emit statusTextChanged(tr("Opening %1").arg(locationUrl()));
        emit progressChanged(0, 100);
    });
    connect(page, &QWebEnginePage::loadProgress, this, [this](int progress) {
        m_lastProgress = progress;
        emit progressChanged(progress, 100);
    });
    connect(page, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        emit statusTextChanged(ok ? tr("Done") : tr("The page could not be loaded"));
    });
    // Sites that change their address without a full load must still move the address box.
    connect(page, &QWebEnginePage::urlChanged, this,
            [this] { emit progressChanged(m_lastProgress, 100); });
    connect(page, &QWebEnginePage::fullScreenRequested, this, &WebEngineView::toggleFullScreen);

    for (const QUrl &url : std::exchange(m_pendingNavigations, {}))
        m_view->setUrl(url);
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
    return m_view ? m_view->title() : QString();
}
