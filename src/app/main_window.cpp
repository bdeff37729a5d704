#include "main_window.h"

#include "about/about_box.h"
#include "blocking/blocker.h"
#include "blocking_controls.h"
#include "browsing/browser_command.h"
#include "browsing/browser_events.h"
#include "browsing/engine_loader.h"
#include "browsing/mouse_history_buttons.h"
#include "browsing/video_player.h"
#include "favorites/favorites_file.h"
#include "favorites/favorites_tab.h"
#include "files/data_file.h"
#include "form/control_names.h"
#include "form/fonts.h"
#include "form/status_panel.h"
#include "form/tab_keys.h"
#include "form/tab_placement.h"
#include "form/twips.h"
#include "layout.h"
#include "notes/notes_tab.h"
#include "page_tools.h"
#include "results/results_tab.h"
#include "results/results_teacher.h"
#include "search/group_choice.h"
#include "search/home_page.h"
#include "search/search_history.h"
#include "search/search_plan.h"
#include "search/site_lineup.h"
#include "search/sites_file.h"
#include "session_keeper.h"
#include "settings/options_keeper.h"
#include "settings/settings_file.h"
#include "start_pages.h"
#include "toolbar_row.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

constexpr QSize DesignClientSize = Twips::size(11400, 9585);
constexpr QRect ViewPlaceInStrip = Twips::rect(120, 480, 12735, 8175);

bool isEnter(const QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

MainWindow::MainWindow(const QString &programFolder, const BrowserViewFactory &makeView,
                       NotesPrinterFactory makePrinter, QWidget *parent)
    : QMainWindow(parent), m_dataFolder(DataFile::folderFor(programFolder)),
      m_makePrinter(std::move(makePrinter)), m_player(VideoPlayer::find())
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Reelhop"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/reelhop.svg")));
    // The window's standard font, which every control without a font of its own uses, drawn in
    // the fonts that stand in for the design's (every window of the program is made after this).
    registerFontSubstitutes();
    setFont(designFont(QStringLiteral("MS Sans Serif"), 8.25));

    m_lineup = new SiteLineup(m_dataFolder, this);
    connect(m_lineup, &SiteLineup::changed, this, &MainWindow::applyLineup);
    m_options = new OptionsKeeper(SettingsFile::path(m_dataFolder), this);
    connect(m_options, &OptionsKeeper::statusMessage, this, &MainWindow::showNotice);
    m_blocker = new Blocker(m_dataFolder, FilterLists::packageFolders(), this);
    m_blockingControls = new BlockingControls(
        m_blocker, [this] { return currentView(); }, this);
    auto *client = new QWidget(this);
    setCentralWidget(client);
    m_toolbar = std::make_unique<ToolbarRow>(client);
    wireToolbarRow();
    createTabs(client, makeView);
    connect(view(SiteCatalogue::HomeView), &BrowserView::ownLinkFollowed, m_lineup,
            &SiteLineup::followHomeLink);
    connect(m_lineup, &SiteLineup::statusMessage, this, &MainWindow::showNotice);
    createMenus();
    m_toolbar->placeGroupBox(menuBar());
    std::tie(m_statusPanel, m_progressPanel) = addStatusPanels(statusBar());
    setFocusOrder();
    m_events = new BrowserEvents(
        {m_tabs, m_views, m_toolbar->addressBox, m_statusPanel, m_progressPanel}, this);
    createShortcuts();
    createPageTools();
    m_session = new SessionKeeper(m_dataFolder,
                                  {m_tabs, m_views, m_toolbar->searchBox, m_results,
                                   std::bind_front(&MainWindow::setTabAvailable, this), m_lineup},
                                  this);
    connect(m_session, &SessionKeeper::statusMessage, this, &MainWindow::showNotice);
    startUp();
    // What is wrong with the sites file is said once start-up is done.
    if (!m_lineup->loadProblem().isEmpty())
        showNotice(m_lineup->loadProblem());
    m_history->load();
    m_groups->load();
    m_pageTools->load();
    connect(m_blocker, &Blocker::statusMessage, this, &MainWindow::showNotice);
    connect(m_blocker, &Blocker::listsLoaded, this, &MainWindow::blockingReady);
    m_blocker->loadLists();

    // Never so small that the toolbar row or the strip's designed controls are cut off.
    setMinimumSize(windowForStrip(m_tabs->size()));
    // The design size first, so the window is usable where nothing maximizes it.
    resize(DesignClientSize);
}

MainWindow::~MainWindow()
{
    // The pages go first: a view that is closed while its page prints waits for the printout,
    // and the page goes on asking the blocker, which the window owns too, until it is gone.
    // The session is kept as it was shown, not as it is taken down.
    delete m_session;
    delete m_tabs;
    delete m_about.data();
}

void MainWindow::wireToolbarRow()
{
    const auto command = [this](QToolButton *button, BrowserCommand which) {
        connect(button, &QToolButton::clicked, this, [this, which] { runOnSelectedView(which); });
    };
    command(m_toolbar->back, BrowserCommand::Back);
    command(m_toolbar->forward, BrowserCommand::Forward);
    command(m_toolbar->stop, BrowserCommand::Stop);
    command(m_toolbar->refresh, BrowserCommand::Refresh);
    command(m_toolbar->print, BrowserCommand::Print);
    m_toolbar->addressBox->installEventFilter(this);
    connect(m_toolbar->go, &QToolButton::clicked, this, &MainWindow::loadAddress);
    m_toolbar->searchBox->installEventFilter(this);
    m_history = new SearchHistory(SearchHistory::path(m_dataFolder), m_toolbar->searchBox);
    connect(m_history, &SearchHistory::statusMessage, this, &MainWindow::showNotice);
    connect(m_toolbar->searchButton, &QPushButton::clicked, this, &MainWindow::search);
    connect(m_history, &SearchHistory::chosen, m_toolbar->searchButton, &QPushButton::click);
    m_groups = new GroupChoice(SiteGroups::path(m_dataFolder), m_toolbar->groupBox, m_lineup, this);
    connect(m_groups, &GroupChoice::statusMessage, this, &MainWindow::showNotice);
    connect(m_toolbar->addFavorite, &QPushButton::clicked, this, &MainWindow::addFavorite);
}

template <typename Handler>
QShortcut *MainWindow::addShortcut(QKeyCombination keys, Handler handler)
{
    auto *shortcut = new QShortcut(QKeySequence(keys), this);
    connect(shortcut, &QShortcut::activated, this, handler);
    return shortcut;
}

void MainWindow::createShortcuts()
{
    const auto command = [this](BrowserCommand which) {
        return [this, which] { runOnSelectedView(which); };
    };
    addShortcut(Qt::ALT | Qt::Key_Left, command(BrowserCommand::Back));
    addShortcut(Qt::ALT | Qt::Key_Right, command(BrowserCommand::Forward));
    addShortcut(QKeyCombination(Qt::Key_F5), command(BrowserCommand::Refresh));
    addShortcut(Qt::CTRL | Qt::Key_R, command(BrowserCommand::Refresh));
    addShortcut(Qt::CTRL | Qt::Key_D, &MainWindow::addFavorite);
    m_toolbar->addFocusKeys(this);
    // As in browsers, Esc stops a page only while it loads; otherwise the page has the key.
    m_stopKey = addShortcut(QKeyCombination(Qt::Key_Escape), command(BrowserCommand::Stop));
    for (BrowserView *view : m_views)
        connect(view, &BrowserView::loadStateChanged, this, &MainWindow::followSelectedViewLoading);
    connect(m_tabs, &QTabWidget::currentChanged, this, &MainWindow::followSelectedViewLoading);
    followSelectedViewLoading();
    new MouseHistoryButtons(m_tabs, command(BrowserCommand::Back),
                            command(BrowserCommand::Forward));
    new TabKeys(this, m_tabs);
}

void MainWindow::createPageTools()
{
    for (BrowserView *view : m_views) {
        connect(view, &BrowserView::playRequested, this, &MainWindow::play);
        connect(view, &BrowserView::siteDescriptionChosen, m_lineup, &SiteLineup::takeSiteFrom);
        view->setPlayerOffered(!m_player.isEmpty());
    }
    m_pageTools = new PageTools(this, m_tabs, {m_views.begin(), m_views.end()}, m_dataFolder,
                                [this] { return currentView(); });
    connect(m_pageTools, &PageTools::statusMessage, this, &MainWindow::showNotice);
}

void MainWindow::createTabs(QWidget *client, const BrowserViewFactory &makeView)
{
    m_tabs = new QTabWidget(client);
    m_tabs->setObjectName(QStringLiteral("SSTab1"));
    m_tabs->setGeometry(Twips::rect(240, 480, 12975, 8775));
    m_tabs->setElideMode(Qt::ElideNone);
    m_tabPlacement = new TabPlacement(m_tabs);

    // Each page is made inside the strip, so that its controls take the window's font once, and
    // not again when the strip files the page (a tenth of the window's making).
    for (int tab = 0; tab < SiteCatalogue::TabCount; ++tab) {
        QWidget *page = nullptr;
        if (tab == SiteCatalogue::FavoritesTab) {
            m_favorites =
                new FavoritesTab(FavoritesFile::path(m_dataFolder), *m_tabPlacement, m_tabs);
            connect(m_favorites, &FavoritesTab::openRequested, this, &MainWindow::openFavorite);
            connect(m_favorites, &FavoritesTab::statusMessage, this, &MainWindow::showNotice);
            page = m_favorites;
        } else if (tab == SiteCatalogue::NotesTab) {
            m_notes = new NotesTab(m_makePrinter, *m_tabPlacement, m_tabs);
            connect(m_notes, &NotesTab::statusMessage, this, &MainWindow::showNotice);
            page = m_notes;
        } else {
            page = new QWidget(m_tabs);
            const int index = *SiteCatalogue::viewOfTab(tab);
            BrowserView *browser = makeView(page);
            browser->setObjectName(indexedName(u"WebBrowser1", index));
            m_tabPlacement->add(browser, ViewPlaceInStrip);
            m_views[index] = browser;
        }
        m_tabs->addTab(page, tab < SiteCatalogue::SiteCount ? m_lineup->sites()[tab].tabCaption
                                                            : SiteCatalogue::fixedTabCaption(tab));
    }
    createResultsTab();
    m_tabs->setCurrentIndex(SiteCatalogue::HomeTab);
    // A narrow window scrolls the captions; the scroll arrows are no stops of the focus order.
    for (auto *arrow : m_tabs->tabBar()->findChildren<QToolButton *>())
        arrow->setFocusPolicy(Qt::NoFocus);
    m_tabPlacement->apply();
}

void MainWindow::createResultsTab()
{
    ResultsTab::SiteViews siteViews;
    std::copy_n(m_views.begin(), SiteCatalogue::SiteCount, siteViews.begin());
    m_results = new ResultsTab(siteViews, SitesFile::path(m_dataFolder), m_tabs);
    m_results->setPlayerOffered(!m_player.isEmpty());
    m_results->setAdPolicy(requestPolicy());
    connect(m_results, &ResultsTab::openRequested, this, [this](int site, const QString &address) {
        view(site)->navigate(address);
        m_tabs->setCurrentIndex(site);
    });
    connect(m_results, &ResultsTab::playRequested, this, &MainWindow::play);
    connect(m_results, &ResultsTab::favoriteRequested, m_favorites, &FavoritesTab::add);
    connect(m_results, &ResultsTab::readingsChanged, this,
            [this] { m_lineup->showReadings(m_results->readingSummaries()); });
    auto *teacher = new ResultsTeacher(
        siteViews, SitesFile::path(m_dataFolder),
        [this](int site) { return m_lineup->sites()[site].tabCaption; }, this);
    connect(teacher, &ResultsTeacher::statusMessage, this, &MainWindow::showNotice);
    connect(teacher, &ResultsTeacher::tabWanted, m_tabs, &QTabWidget::setCurrentIndex);
    connect(m_lineup, &SiteLineup::teachRequested, teacher, &ResultsTeacher::teach);
    m_tabs->addTab(m_results, tr("Results"));
}

void MainWindow::createMenus()
{
    QMenu *file = menuBar()->addMenu(tr("File"));
    file->setObjectName(QStringLiteral("file"));
    QAction *print =
        file->addAction(tr("&Print"), this, [this] { runOnSelectedView(BrowserCommand::Print); });
    print->setObjectName(QStringLiteral("print"));
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    if (!m_player.isEmpty()) {
        QAction *play = file->addAction(tr("Play in &Video Player"), this, [this] {
            const BrowserView *selected = currentView();
            this->play(selected ? selected->locationUrl() : QString());
        });
        play->setObjectName(QStringLiteral("playPage"));
        play->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    }
    QAction *results =
        file->addAction(tr("Show &Results"), this, [this] { m_tabs->setCurrentWidget(m_results); });
    results->setObjectName(QStringLiteral("showResults"));
    results->setShortcut(QKeySequence(Qt::ALT | Qt::Key_0));
    // Ends the program at once: no window is asked to close.
    QAction *closer = file->addAction(tr("&Close"), this, [] { QCoreApplication::exit(0); });
    closer->setObjectName(QStringLiteral("closer"));

    QMenu *option = menuBar()->addMenu(tr("Options"));
    option->setObjectName(QStringLiteral("Option(1)"));
    option->addAction(tr("&Options"), this, [this] { m_options->show(m_lineup->sites()); })
        ->setObjectName(QStringLiteral("Option1"));
    option->addAction(tr("&Sites..."), m_lineup, &SiteLineup::showWindow)
        ->setObjectName(QStringLiteral("sites"));
    option->addAction(tr("&Groups..."), m_groups, &GroupChoice::showWindow)
        ->setObjectName(QStringLiteral("groups"));
    option->addAction(tr("Clear Search &History"), m_history, &SearchHistory::clear)
        ->setObjectName(QStringLiteral("clearHistory"));
    option->addSeparator();
    m_blockingControls->addTo(option, statusBar(), {m_views.begin(), m_views.end()}, m_tabs);
    connect(m_blockingControls, &BlockingControls::statusMessage, this, &MainWindow::showNotice);

    menuBar()
        ->addAction(tr("About Us"), this, &MainWindow::showAbout)
        ->setObjectName(QStringLiteral("about"));
}

void MainWindow::setFocusOrder()
{
    const QList<QWidget *> order = QList<QWidget *>{m_tabs} + m_toolbar->inFocusOrder();
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    m_tabs->setFocus();
}

QString MainWindow::userAgent() const
{
    return m_lineup->userAgent();
}

const RequestPolicy *MainWindow::requestPolicy() const
{
    return m_blocker;
}

bool MainWindow::isBlockingReady() const
{
    return m_blocker->isReady();
}

BrowserView *MainWindow::view(int index) const
{
    return m_views.at(index);
}

void MainWindow::setTabAvailable(int tab, bool available)
{
    // Qt moves the selection off a tab that is switched off; the selection is the user's, and
    // no one may see it pass through another tab.
    const QSignalBlocker quiet(m_tabs);
    const int selected = m_tabs->currentIndex();
    m_tabs->setTabEnabled(tab, available);
    if (m_tabs->currentIndex() != selected)
        m_tabs->setCurrentIndex(selected);
}

OptionsDialog &MainWindow::options()
{
    return m_options->dialog(m_lineup->sites());
}

BrowserView *MainWindow::currentView() const
{
    const std::optional<int> index = SiteCatalogue::viewOfTab(m_tabs->currentIndex());
    return index ? view(*index) : nullptr;
}

void MainWindow::showNotice(const QString &text)
{
    m_statusPanel->showNotice(text);
}

void MainWindow::applyLineup(const SiteCatalogue::Lineup &before)
{
    // A tab whose site changed shows the new site at once, never the old one under the new name.
    const SiteCatalogue::Lineup &lineup = m_lineup->sites();
    for (int site = 0; site < SiteCatalogue::SiteCount; ++site) {
        if (lineup[site] != before[site] && view(site)->locationUrl() != u"http:///")
            view(site)->navigate(lineup[site].startPage);
    }
    for (int site = 0; site < SiteCatalogue::SiteCount; ++site)
        m_tabs->setTabText(site, lineup[site].tabCaption);
    m_options->showSiteLabels(lineup);
    if (view(SiteCatalogue::HomeView)->locationUrl() == SiteCatalogue::HomePage)
        showHomePage();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Modifiers are not looked at: Shift+Enter and Ctrl+Enter act as Enter does. The keys go on
    // to the boxes themselves.
    if (watched == m_toolbar->addressBox && isEnter(event))
        loadAddress();
    else if (watched == m_toolbar->searchBox && isEnter(event))
        m_toolbar->searchButton->click();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    layOut();
}

void MainWindow::layOut()
{
    const WindowLayout layout = layoutForWindow(frameGeometry().size());
    for (BrowserView *browser : m_views)
        m_tabPlacement->setSize(browser, layout.view);
    m_tabs->resize(layout.tabStrip);
    m_tabPlacement->apply();
    // Under the toolbar, over the top right of the page, as browsers show it.
    if (m_pageTools)
        m_pageTools->placeFindBar(m_tabs->geometry());
}

void MainWindow::loadAddress()
{
    BrowserView *target = currentView();
    m_events->addressSubmitted(target != nullptr);
    if (!target)
        return;
    const QString address = BrowserEvents::addressToOpen(m_toolbar->addressBox->currentText());
    if (address == SiteCatalogue::HomePage)
        target->showPage(homePageHtml(m_lineup->sites()), address);
    else
        target->navigate(address);
}

void MainWindow::search()
{
    for (int tab = 0; tab < SiteCatalogue::SiteCount; ++tab)
        setTabAvailable(tab, false);
    const QString text = m_toolbar->searchBox->text();
    const SearchPlan plan =
        SearchPlan::make(m_lineup->sites(), m_options->searchedSites(), text, m_groups->contents());
    // A site left out is not waited for, and its tab's next page is no search's results.
    m_results->startSearch(m_lineup->sites(), plan.searched);
    for (const int site : plan.chosen) {
        setTabAvailable(site, true);
        if (plan.addresses.contains(site))
            view(site)->navigate(plan.addresses[site].toString(QUrl::FullyEncoded));
    }
    m_history->add(text);
    if (plan.notice.isEmpty())
        m_statusPanel->withdraw(SearchPlan::noSiteNotice());
    else
        showNotice(plan.notice);
}

void MainWindow::startUp()
{
    using namespace SiteCatalogue;
    if (m_tabs->currentIndex() == HomeTab)
        m_tabs->setTabText(HomeTab, HomeCaption.toString());
    m_favorites->load();
    if (!m_session->restoreIfChosen())
        StartPages::show(m_options->states(), m_lineup->sites(), m_views,
                         std::bind_front(&MainWindow::setTabAvailable, this));
}

void MainWindow::showHomePage()
{
    StartPages::showHome(*view(SiteCatalogue::HomeView), m_lineup->sites());
}

void MainWindow::addFavorite()
{
    const BrowserView *source = currentView();
    if (m_favorites->add(source ? source->title() : QString(),
                         source ? source->locationUrl() : QString()))
        m_tabs->setCurrentIndex(SiteCatalogue::FavoritesTab);
}

void MainWindow::openFavorite(const QString &address, bool renameHomeTab)
{
    m_tabs->setCurrentIndex(SiteCatalogue::HomeTab);
    if (renameHomeTab)
        m_tabs->setTabText(SiteCatalogue::HomeTab,
                           SiteCatalogue::fixedTabCaption(SiteCatalogue::FavoritesTab));
    if (BrowserEvents::addressToOpen(address) == SiteCatalogue::HomePage)
        showHomePage();
    else
        view(SiteCatalogue::HomeView)->navigate(address);
}

void MainWindow::runOnSelectedView(BrowserCommand command)
{
    if (const std::optional<int> index = viewForCommand(command, m_tabs->currentIndex()))
        runCommand(command, *view(*index));
}

void MainWindow::followSelectedViewLoading()
{
    const BrowserView *selected = currentView();
    m_stopKey->setEnabled(selected && selected->loadState() == BrowserView::LoadState::Loading);
}

void MainWindow::play(const QString &address)
{
    if (const std::optional<QString> failure = VideoPlayer::play(m_player, address))
        showNotice(tr("The video player could not be started: %1").arg(*failure));
    else
        m_statusPanel->showReport(tr("Playing %1 in the video player.").arg(address));
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (!event->spontaneous())
        return;
    // Closed by the user: the hidden options window and the other windows must not outlive
    // this one.
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window != this)
            window->close();
    }
    QCoreApplication::quit();
}

void MainWindow::showAbout()
{
    if (!m_about)
        m_about = new AboutBox(EngineLoader::engineVersion(EngineLoader::installedModulePath()));
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}
