#include "web_engine_view.h"

#include "download_folder.h"
#include "download_name.h"
#include "download_question.h"
#include "full_screen_view.h"
#include "own_pages.h"
#include "page_menu.h"
#include "page_pointing.h"
#include "page_protection.h"
#include "results_reading.h"
#include "site_description_link.h"
#include "tab_page.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineDownloadRequest>
#include <QWebEngineFindTextResult>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
#include <QWebEnginePermission>
#endif
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <QWheelEvent>

using namespace Qt::StringLiterals;

namespace {

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

WebEngineView::WebEngineView(const Shared &shared, QWidget *parent)
    : BrowserView(parent), m_ownPages(shared.ownPages), m_downloads(shared.downloads),
      m_view(new QWebEngineView(this))
{
    QWebEngineProfile *profile = shared.profile;
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    m_protection = new PageProtection(shared.policy, m_ownPages, shared.frameRules, this);
    auto *page = new TabPage(profile,
                             {m_protection, [this] { return isVisible(); },
                              [this](const QString &text) { emit statusTextChanged(text); },
                              [this](const QUrl &url) { emit ownLinkFollowed(url.toString()); }},
                             m_view);
    m_page = page;
    m_view->setPage(page);
    m_protection->protect(page);
    m_resultsReading = new ResultsReading(page);
    m_descriptionLink = new SiteDescriptionLink(page);
    connect(m_resultsReading, &ResultsReading::read, this, &BrowserView::resultsRead);
    connect(m_protection, &PageProtection::blockedCountChanged, this,
            &BrowserView::blockedCountChanged);

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
    // The program asks the user nothing for a page: a page's wish (notifications, the camera,
    // the location) is refused at once, as for a user who blocked them, not left unanswered.
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    connect(page, &QWebEnginePage::permissionRequested, page,
            [](QWebEnginePermission permission) { permission.deny(); });
#else
    connect(page, &QWebEnginePage::featurePermissionRequested, page,
            [page](const QUrl &origin, QWebEnginePage::Feature feature) {
                page->setFeaturePermission(origin, feature, QWebEnginePage::PermissionDeniedByUser);
            });
#endif
    // A page's own Print button (window.print()) prints as the toolbar's does, in sight only.
    connect(page, &QWebEnginePage::printRequested, this, [this] {
        if (isVisible())
            printWithDialog();
        else
            emit statusTextChanged(tr("A page out of sight asked to print; nothing was printed."));
    });
    connect(page, &QWebEnginePage::renderProcessTerminated, this,
            &WebEngineView::followEndedProcess);
    connect(page, &QWebEnginePage::loadStarted, this, [this] {
        m_typedInto = false;
        // Another page: what was pointed at is gone.
        if (m_pointing && !m_pointing->hasBeenClicked()) {
            endPointing();
            emit pointingLeft();
        }
    });
    // Keys, clicks and Ctrl with the wheel go to the page's own widget, which the engine makes
    // with the page and anew whenever the page moves to another process (another site): each
    // one is watched.
    m_view->installEventFilter(this);
    for (QWidget *pageWidget : m_view->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        pageWidget->installEventFilter(this);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view, &QWidget::customContextMenuRequested, this, &WebEngineView::showContextMenu);
    // The profile asks every view; each takes its own page's downloads.
    connect(profile, &QWebEngineProfile::downloadRequested, this,
            [this](QWebEngineDownloadRequest *download) {
                if (download->page() == m_page)
                    followDownload(download);
            });
}

bool WebEngineView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view) {
        if (event->type() == QEvent::ChildAdded)
            if (auto *child = qobject_cast<QWidget *>(static_cast<QChildEvent *>(event)->child()))
                child->installEventFilter(this);
        return BrowserView::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress)
        m_typedInto = true;
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress)
        m_userActed.start();
    if (event->type() == QEvent::Wheel) {
        const auto *wheel = static_cast<QWheelEvent *>(event);
        if (wheel->modifiers() & Qt::ControlModifier && wheel->angleDelta().y() != 0) {
            emit zoomStepRequested(wheel->angleDelta().y() > 0 ? 1 : -1);
            return true;
        }
    }
    return BrowserView::eventFilter(watched, event);
}

void WebEngineView::showContextMenu(QPoint position)
{
    PageMenu entries;
    if (m_playerOffered)
        entries.play = [this](const QUrl &link) {
            emit playRequested(link.toString(QUrl::FullyEncoded));
        };
    if (m_teachingOffered)
        entries.teach = [this] { emit teachingRequested(); };
    if (const QUrl description = m_descriptionLink->address(); description.isValid())
        entries.putSiteOnTab = [this, description, page = m_page->url()] {
            emit siteDescriptionChosen(description, page);
        };
    entries.make(m_view)->popup(m_view->mapToGlobal(position));
}

WebEngineView::~WebEngineView()
{
    // The engine breaks if a page that prints goes before its printout is done: the printout
    // is finished first, within a minute.
    if (m_printer) {
        QEventLoop printing;
        connect(QWebEngineView::forPage(m_page), &QWebEngineView::printFinished, &printing,
                &QEventLoop::quit);
        QTimer::singleShot(std::chrono::minutes(1), &printing, &QEventLoop::quit);
        printing.exec(QEventLoop::ExcludeUserInputEvents);
    }
    delete m_fullScreenView;
}

bool WebEngineView::navigate(const QString &address)
{
    wake();
    m_requestedAddress = QUrl(address); // what the window sends a view to, the user asked for
    m_protection->prepareFor(QUrl(address));
    m_page->setUrl(QUrl(address));
    return true;
}

bool WebEngineView::showPage(const QString &html, const QString &address)
{
    const QUrl url(address);
    if (!OwnPages::isOwn(url))
        return false;
    wake();
    m_ownPages->put(url, html);
    m_page->setUrl(url);
    return true;
}

void WebEngineView::followLoading(const QWebEngineLoadingInfo &info)
{
    switch (info.status()) {
    case QWebEngineLoadingInfo::LoadStartedStatus:
        if (m_loadState != LoadState::Loading)
            m_loadedBeforeThisLoad = m_loadState == LoadState::Loaded;
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
        // Newer engines end a load that became a download this way, after the download has
        // already put back the page before it.
        if (m_loadState != LoadState::Loading)
            break;
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

void WebEngineView::followEndedProcess(int status)
{
    // On a small machine the system ends a page's process to free memory now and then; the tab
    // must not stay blank without a word.
    const QString how = status == QWebEnginePage::KilledTerminationStatus    ? tr("was ended")
                        : status == QWebEnginePage::CrashedTerminationStatus ? tr("crashed")
                                                                             : tr("stopped");
    m_failureReason = tr("the page's process %1; Refresh loads it again").arg(how);
    setLoadState(LoadState::Failed);
    emit statusTextChanged(tr("The page could not be loaded: %1").arg(m_failureReason));
    emit processEnded();
}

bool WebEngineView::takeUserAct(const QUrl &download)
{
    // A download the user started is the address the window sent, or comes within moments of
    // a click or a key in the page; one act starts one download.
    const bool acted = isVisible() && (std::exchange(m_requestedAddress, QUrl()) == download ||
                                       (m_userActed.isValid() && m_userActed.elapsed() < 10000));
    m_userActed.invalidate();
    return acted;
}

void WebEngineView::followDownload(QWebEngineDownloadRequest *download)
{
    // The address turned out to be a file: the page before it is still the one shown.
    setLoadState(m_loadedBeforeThisLoad ? LoadState::Loaded : LoadState::Idle);
    // The site proposes a name, never where it goes.
    const QString name =
        DownloadName::safe(download->suggestedFileName().isEmpty() ? download->downloadFileName()
                                                                   : download->suggestedFileName());
    const bool approved = std::exchange(m_approvedDownload, QUrl()) == download->url();
    if (!approved && !takeUserAct(download->url())) {
        download->cancel();
        askAboutDownload(download->url(), name);
        return;
    }
    const QString folder = m_page->profile()->downloadPath();
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isWritable()) {
        download->cancel();
        emit statusTextChanged(tr("%1 was not saved: the download folder %2 cannot be written.")
                                   .arg(name, QDir::toNativeSeparators(folder)));
        return;
    }
    // The engine drops a download no one accepts, and the link would look dead: as browsers do,
    // the file goes to the user's download folder under a name of its own, and the status bar
    // follows it.
    const QString free = m_downloads->claim(folder, name);
    download->setDownloadDirectory(folder);
    download->setDownloadFileName(free);
    download->accept();
    const QString file = QDir(folder).filePath(free);
    emit statusTextChanged(tr("Downloading %1").arg(file));
    // The name is free again once the file has its own name, or is gone.
    connect(download, &QObject::destroyed, this,
            [downloads = m_downloads, folder, free] { downloads->release(folder, free); });
    connect(download, &QWebEngineDownloadRequest::isFinishedChanged, this,
            [this, download, file, folder, free] {
                m_downloads->release(folder, free);
                if (download->state() == QWebEngineDownloadRequest::DownloadCompleted)
                    emit statusTextChanged(tr("Downloaded %1").arg(file));
                else
                    emit statusTextChanged(tr("The download of %1 failed: %2")
                                               .arg(file, download->interruptReasonString()));
            });
}

void WebEngineView::askAboutDownload(const QUrl &address, const QString &name)
{
    // The question stays with the tab whose page asked.
    delete m_downloadQuestion;
    auto *question = new DownloadQuestion(name, this);
    m_downloadQuestion = question;
    static_cast<QVBoxLayout *>(layout())->insertWidget(0, question);
    connect(question, &DownloadQuestion::saveChosen, this, [this, address, name] {
        m_approvedDownload = address;
        m_page->download(address, name);
    });
    emit statusTextChanged(tr("A page asks to save %1; its tab asks you first.").arg(name));
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
        m_fullScreenView = new FullScreenView(m_page);
        m_fullScreenView->showFullScreen();
    } else {
        m_view->setPage(m_page);
        delete m_fullScreenView;
    }
}

bool WebEngineView::goBack()
{
    if (!m_page->history()->canGoBack())
        return false;
    m_page->triggerAction(QWebEnginePage::Back);
    return true;
}

bool WebEngineView::goForward()
{
    if (!m_page->history()->canGoForward())
        return false;
    m_page->triggerAction(QWebEnginePage::Forward);
    return true;
}

bool WebEngineView::stop()
{
    m_page->triggerAction(QWebEnginePage::Stop);
    return true;
}

bool WebEngineView::refresh()
{
    wake();
    m_protection->prepareFor(m_page->url());
    m_page->triggerAction(QWebEnginePage::Reload);
    return true;
}

bool WebEngineView::printWithDialog()
{
    if (m_printer) {
        // The engine prints one page at a time; a silent button would look dead.
        emit statusTextChanged(
            tr("This page is still being printed; print it again when it is done."));
        return false;
    }
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(m_printer.get(), this);
    if (dialog.exec() != QDialog::Accepted) {
        m_printer.reset();
        return false;
    }
    // The engine prints in the background; the printer must live until it is done.
    // The view that shows the page prints it, in full screen too.
    QWebEngineView *shown = QWebEngineView::forPage(m_page);
    connect(
        shown, &QWebEngineView::printFinished, this, [this] { m_printer.reset(); },
        Qt::SingleShotConnection);
    shown->print(m_printer.get());
    return true;
}

QString WebEngineView::locationUrl() const
{
    // A blocked page's notice stands for the page, as a browser's warning does.
    const QUrl blocked = OwnPages::blockedAddressOf(m_page->url());
    return (blocked.isEmpty() ? m_page->url() : blocked).toString();
}

QString WebEngineView::title() const
{
    // The engine shows a page without a title by its address; that is no title of the page's.
    const QString shown = m_page->title();
    return isAddressStandIn(shown, m_page->url()) ? QString() : shown;
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
    m_page->setAudioMuted(muted);
}

void WebEngineView::setZoomFactor(qreal factor)
{
    m_page->setZoomFactor(factor);
}

qreal WebEngineView::zoomFactor() const
{
    return m_page->zoomFactor();
}

void WebEngineView::findText(const QString &text, bool backward)
{
    const QWebEnginePage::FindFlags flags =
        backward ? QWebEnginePage::FindBackward : QWebEnginePage::FindFlags();
    m_page->findText(text, flags, [this](const QWebEngineFindTextResult &result) {
        emit findFinished(result.activeMatch(), result.numberOfMatches());
    });
}

void WebEngineView::setPlayerOffered(bool offered)
{
    m_playerOffered = offered;
}

void WebEngineView::setLifecycle(Lifecycle state)
{
    static constexpr QWebEnginePage::LifecycleState States[]{
        QWebEnginePage::LifecycleState::Active, QWebEnginePage::LifecycleState::Frozen,
        QWebEnginePage::LifecycleState::Discarded};
    m_page->setLifecycleState(States[int(state)]);
}

void WebEngineView::wake()
{
    // A search or a command reaches a page the memory saver put aside, out of sight or not.
    m_page->setLifecycleState(QWebEnginePage::LifecycleState::Active);
}

BrowserView::Lifecycle WebEngineView::lifecycle() const
{
    switch (m_page->lifecycleState()) {
    case QWebEnginePage::LifecycleState::Frozen:
        return Lifecycle::Frozen;
    case QWebEnginePage::LifecycleState::Discarded:
        return Lifecycle::Discarded;
    case QWebEnginePage::LifecycleState::Active:
        break;
    }
    return Lifecycle::Active;
}

int WebEngineView::blockedCount() const
{
    return m_protection->blockedCount();
}

bool WebEngineView::isInUse() const
{
    return m_typedInto || m_page->recentlyAudible();
}

void WebEngineView::readResults(const QString &script)
{
    m_resultsReading->setScript(script);
}

void WebEngineView::setTeachingOffered(bool offered)
{
    m_teachingOffered = offered;
}

bool WebEngineView::pointAtPage(const QString &script)
{
    endPointing();
    if (m_page->url().isEmpty() || m_loadState == LoadState::Failed)
        return false;
    m_pointing = new PagePointing(m_view, m_page, script);
    connect(m_pointing, &PagePointing::answered, this, &BrowserView::pagePointed);
    connect(m_pointing, &PagePointing::left, this, [this] {
        endPointing();
        emit pointingLeft();
    });
    return true;
}

void WebEngineView::endPointing()
{
    delete m_pointing;
}
