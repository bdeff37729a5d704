#include "main_window.h"

#include "about/about_box.h"
#include "browsing/browser_command.h"
#include "browsing/browser_events.h"
#include "browsing/mouse_history_buttons.h"
#include "favorites/favorites_file.h"
#include "favorites/favorites_tab.h"
#include "files/data_file.h"
#include "form/control_names.h"
#include "form/fonts.h"
#include "form/tab_placement.h"
#include "form/text_button.h"
#include "form/twips.h"
#include "layout.h"
#include "notes/notes_tab.h"
#include "search/site_catalogue.h"
#include "settings/options_dialog.h"
#include "settings/settings_file.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <limits>

namespace {

constexpr QSize DesignClientSize = Twips::size(11400, 9585);
constexpr QRect ViewPlaceInStrip = Twips::rect(120, 480, 12735, 8175);

bool isEnter(int keyCode)
{
    return keyCode == Qt::Key_Return || keyCode == Qt::Key_Enter;
}

} // namespace

MainWindow::MainWindow(const QString &programFolder, const BrowserViewFactory &makeView,
                       NotesPrinterFactory makePrinter, QWidget *parent)
    : QMainWindow(parent), m_dataFolder(DataFile::folderFor(programFolder)),
      m_makePrinter(std::move(makePrinter))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Reelhop"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/reelhop.svg")));
    // The window's standard font, which every control without a font of its own uses.
    setFont(designFont(QStringLiteral("MS Sans Serif"), 8.25));

    auto *client = new QWidget(this);
    setCentralWidget(client);
    createToolbarRow(client);
    createTabs(client, makeView);
    createMenus();
    createStatusBar();
    setFocusOrder();
    m_events =
        new BrowserEvents({SSTab1, WebBrowser1, Combo1, m_statusPanel, m_progressPanel}, this);
    createShortcuts();
    Form_Load();

    // The design size first, so the window is usable where nothing maximizes it.
    resize(DesignClientSize);
}

MainWindow::~MainWindow()
{
    delete m_options.data();
    delete m_about.data();
}

QToolButton *MainWindow::createPictureButton(QWidget *client, const QString &name,
                                             const QString &tooltip, const QString &keys,
                                             const QString &icon, QRect place)
{
    auto *button = new QToolButton(client);
    button->setObjectName(name);
    // The tooltip names the button and, as browsers do, its key.
    button->setToolTip(u"%1 (%2)"_qs.arg(tooltip, keys));
    button->setAccessibleName(tooltip);
    button->setIcon(QIcon(QStringLiteral(":/icons/") + icon));
    button->setIconSize(QSize(24, 24));
    button->setGeometry(place);
    return button;
}

void MainWindow::createToolbarRow(QWidget *client)
{
    Command1 = createPictureButton(client, QStringLiteral("Command1"), tr("Back"), u"Alt+Left"_qs,
                                   QStringLiteral("back.svg"), Twips::rect(0, 0, 615, 375));
    Command16 =
        createPictureButton(client, QStringLiteral("Command16"), tr("Forward"), u"Alt+Right"_qs,
                            QStringLiteral("forward.svg"), Twips::rect(600, 0, 615, 375));
    Command17 = createPictureButton(client, QStringLiteral("Command17"), tr("Stop"), u"Esc"_qs,
                                    QStringLiteral("stop.svg"), Twips::rect(1200, 0, 615, 375));
    Command18 = createPictureButton(client, QStringLiteral("Command18"), tr("Refresh"), u"F5"_qs,
                                    QStringLiteral("refresh.svg"), Twips::rect(1800, 0, 615, 375));
    Command19 = createPictureButton(client, QStringLiteral("Command19"), tr("Print"), u"Ctrl+P"_qs,
                                    QStringLiteral("print.svg"), Twips::rect(2400, 0, 615, 375));
    connect(Command1, &QToolButton::clicked, this, &MainWindow::Command1_Click);
    connect(Command16, &QToolButton::clicked, this, &MainWindow::Command16_Click);
    connect(Command17, &QToolButton::clicked, this, &MainWindow::Command17_Click);
    connect(Command18, &QToolButton::clicked, this, &MainWindow::Command18_Click);
    connect(Command19, &QToolButton::clicked, this, &MainWindow::Command19_Click);

    Combo1 = new QComboBox(client);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setAccessibleName(tr("Web address"));
    Combo1->setToolTip(tr("Web address (Ctrl+L)"));
    // A pasted text is taken whole, however long; Qt's boxes would cut it at 32767 characters.
    Combo1->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
    Combo1->setGeometry(Twips::rect(3000, 50, 5415, 315));
    Combo1->installEventFilter(this);

    Command22 =
        createPictureButton(client, QStringLiteral("Command22"), tr("Go to Web Address"),
                            u"Enter"_qs, QStringLiteral("go.svg"), Twips::rect(8400, 50, 500, 315));
    Command22->setIconSize(QSize(30, 19));
    Command22->setStyleSheet(
        QStringLiteral("QToolButton { background-color: rgb(192, 192, 255); }"));
    connect(Command22, &QToolButton::clicked, this, &MainWindow::Command22_Click);

    Text1 = new QLineEdit(client);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(tr("Search text"));
    Text1->setToolTip(tr("Search text (Ctrl+K)"));
    Text1->setMaxLength(std::numeric_limits<int>::max());
    Text1->setGeometry(Twips::rect(8880, 50, 1935, 315));
    Text1->installEventFilter(this);

    Command21 = createTextButton(client, QStringLiteral("Command21"), tr("Find It!"),
                                 Twips::rect(10800, 0, 855, 375));
    Command21->setFont(designFont(QStringLiteral("MS Sans Serif"), 9.75));
    connect(Command21, &QPushButton::clicked, this, &MainWindow::Command21_Click);

    Command11 = createTextButton(client, QStringLiteral("Command11"), tr("Add to Favorites"),
                                 Twips::rect(11640, 0, 1335, 375));
    Command11->setToolTip(tr("Ctrl+D"));
    connect(Command11, &QPushButton::clicked, this, &MainWindow::Command11_Click);
}

void MainWindow::createShortcuts()
{
    const auto shortcut = [this](const QKeySequence &keys, auto handler) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, handler);
    };
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Left), &MainWindow::Command1_Click);
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Right), &MainWindow::Command16_Click);
    shortcut(QKeySequence(Qt::Key_Escape), &MainWindow::Command17_Click);
    shortcut(QKeySequence(Qt::Key_F5), &MainWindow::Command18_Click);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_R), &MainWindow::Command18_Click);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_D), &MainWindow::Command11_Click);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_L), [this] {
        Combo1->setFocus(Qt::ShortcutFocusReason);
        Combo1->lineEdit()->selectAll();
    });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_K), [this] {
        Text1->setFocus(Qt::ShortcutFocusReason);
        Text1->selectAll();
    });
    new MouseHistoryButtons(
        SSTab1, [this] { Command1_Click(); }, [this] { Command16_Click(); });
}

void MainWindow::createTabs(QWidget *client, const BrowserViewFactory &makeView)
{
    SSTab1 = new QTabWidget(client);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->setGeometry(Twips::rect(240, 480, 12975, 8775));
    SSTab1->setElideMode(Qt::ElideNone);
    m_tabPlacement = new TabPlacement(SSTab1);

    for (int tab = 0; tab < SiteCatalogue::TabCount; ++tab) {
        QWidget *page = nullptr;
        if (tab == SiteCatalogue::FavoritesTab) {
            m_favorites = new FavoritesTab(FavoritesFile::path(m_dataFolder), *m_tabPlacement);
            connect(m_favorites, &FavoritesTab::openRequested, this, &MainWindow::openFavorite);
            connect(m_favorites, &FavoritesTab::statusMessage, this, &MainWindow::showStatus);
            page = m_favorites;
        } else if (tab == SiteCatalogue::NotesTab) {
            m_notes = new NotesTab(m_makePrinter, *m_tabPlacement);
            connect(m_notes, &NotesTab::statusMessage, this, &MainWindow::showStatus);
            page = m_notes;
        } else {
            page = new QWidget;
            const int index = *SiteCatalogue::viewOfTab(tab);
            BrowserView *browser = makeView(page);
            browser->setObjectName(indexedName(u"WebBrowser1", index));
            m_tabPlacement->add(browser, ViewPlaceInStrip);
            WebBrowser1[index] = browser;
        }
        SSTab1->addTab(page, SiteCatalogue::tabCaption(tab));
    }
    SSTab1->setCurrentIndex(SiteCatalogue::HomeTab);
    // A narrow window scrolls the captions; the scroll arrows are no stops of the focus order.
    for (auto *arrow : SSTab1->tabBar()->findChildren<QToolButton *>())
        arrow->setFocusPolicy(Qt::NoFocus);
    m_tabPlacement->apply();
}

void MainWindow::createMenus()
{
    QMenu *file = menuBar()->addMenu(tr("File"));
    file->setObjectName(QStringLiteral("file"));
    QAction *print = file->addAction(tr("&Print"), this, &MainWindow::print_Click);
    print->setObjectName(QStringLiteral("print"));
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    QAction *closer = file->addAction(tr("&Close"), this, &MainWindow::closer_Click);
    closer->setObjectName(QStringLiteral("closer"));

    QMenu *option = menuBar()->addMenu(tr("Options"));
    option->setObjectName(QStringLiteral("Option(1)"));
    QAction *option1 = option->addAction(tr("&Options"), this, &MainWindow::Option1_Click);
    option1->setObjectName(QStringLiteral("Option1"));

    QAction *about = menuBar()->addAction(tr("About Us"), this, &MainWindow::about_Click);
    about->setObjectName(QStringLiteral("about"));
}

void MainWindow::createStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setFixedHeight(Twips::toPixels(375));
    m_statusPanel = new QLabel(bar);
    m_statusPanel->setObjectName(QStringLiteral("Panel1"));
    bar->addWidget(m_statusPanel, 1);
    m_progressPanel = new QLabel(bar);
    m_progressPanel->setObjectName(QStringLiteral("Panel2"));
    m_progressPanel->setMinimumWidth(Twips::toPixels(900));
    m_progressPanel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bar->addPermanentWidget(m_progressPanel);
}

void MainWindow::setFocusOrder()
{
    const QList<QWidget *> order{SSTab1, Command1,  Command16, Command17, Command18, Command19,
                                 Combo1, Command22, Text1,     Command21, Command11};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    SSTab1->setFocus();
}

BrowserView *MainWindow::view(int index) const
{
    return WebBrowser1.at(index);
}

void MainWindow::setTabAvailable(int tab, bool available)
{
    // Qt moves the selection off a tab that is switched off; the selection is the user's.
    const int selected = SSTab1->currentIndex();
    SSTab1->setTabEnabled(tab, available);
    if (SSTab1->currentIndex() != selected)
        SSTab1->setCurrentIndex(selected);
}

OptionsDialog &MainWindow::options()
{
    if (!m_options) {
        m_options = new OptionsDialog(SettingsFile::path(m_dataFolder));
        connect(m_options, &OptionsDialog::unloaded, this, [this] { m_options = nullptr; });
        connect(m_options, &OptionsDialog::saveFailed, this, [this](const QString &path) {
            showStatus(
                tr("The options could not be saved to %1.").arg(QDir::toNativeSeparators(path)));
        });
    }
    return *m_options;
}

BrowserView *MainWindow::currentView() const
{
    const std::optional<int> index = SiteCatalogue::viewOfTab(SSTab1->currentIndex());
    return index ? view(*index) : nullptr;
}

void MainWindow::showStatus(const QString &text)
{
    m_statusPanel->setText(text);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int keyCode = static_cast<QKeyEvent *>(event)->key();
        if (watched == Combo1)
            Combo1_KeyDown(keyCode);
        else if (watched == Text1)
            Text1_KeyDown(keyCode);
    }
    // The keys go on to the boxes themselves.
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void MainWindow::Form_Resize()
{
    const WindowLayout layout = layoutForWindow(frameGeometry().size());
    for (BrowserView *browser : WebBrowser1)
        m_tabPlacement->setSize(browser, layout.view);
    SSTab1->resize(layout.tabStrip);
    m_tabPlacement->apply();
}

void MainWindow::loadAddressIntoCurrentView()
{
    m_events->addressSubmitted();
    if (BrowserView *target = currentView())
        target->navigate(Combo1->currentText());
}

void MainWindow::Combo1_KeyDown(int keyCode)
{
    // Modifiers are not looked at: Shift+Enter and Ctrl+Enter load as Enter does.
    if (isEnter(keyCode))
        loadAddressIntoCurrentView();
}

void MainWindow::Command22_Click()
{
    loadAddressIntoCurrentView();
}

void MainWindow::Text1_KeyDown(int keyCode)
{
    if (isEnter(keyCode))
        Command21->click();
}

void MainWindow::Command21_Click()
{
    for (int tab = 0; tab < SiteCatalogue::SiteCount; ++tab)
        setTabAvailable(tab, false);
    for (int site = 0; site < SiteCatalogue::SiteCount; ++site) {
        if (!SiteCatalogue::isSelected(options().state(SiteCatalogue::searchBox(site))))
            continue;
        setTabAvailable(site, true);
        const QUrl address = SiteCatalogue::searchAddress(site, Text1->text());
        view(site)->navigate(address.toString(QUrl::FullyEncoded));
    }
}

void MainWindow::Form_Load()
{
    using namespace SiteCatalogue;
    if (SSTab1->currentIndex() == HomeTab)
        SSTab1->setTabText(HomeTab, HomeCaption.toString());
    view(HomeView)->navigate(HomePage.toString());
    m_favorites->load();
    // YouTube's tab stays on: it is the start page of last resort below.
    for (int tab = 1; tab < SiteCount; ++tab)
        setTabAvailable(tab, false);
    for (int site = 0; site < SiteCount; ++site) {
        if (isSelected(options().state(startUpBox(site)))) {
            setTabAvailable(site, true);
            view(site)->navigate(Sites[site].startPage.toString());
        }
    }
    // Revver alone has a stand-in when it is not chosen: YouTube's start page, loaded last.
    constexpr int Revver = SiteCount - 1;
    if (!isSelected(options().state(startUpBox(Revver))))
        view(0)->navigate(Sites[0].startPage.toString());
}

void MainWindow::Command11_Click()
{
    const BrowserView *source = currentView();
    m_favorites->add(source ? source->title() : QString(),
                     source ? source->locationUrl() : QString());
    SSTab1->setCurrentIndex(SiteCatalogue::FavoritesTab);
}

void MainWindow::openFavorite(const QString &address, bool renameHomeTab)
{
    SSTab1->setCurrentIndex(SiteCatalogue::HomeTab);
    if (renameHomeTab)
        SSTab1->setTabText(SiteCatalogue::HomeTab,
                           SiteCatalogue::tabCaption(SiteCatalogue::FavoritesTab));
    view(SiteCatalogue::HomeView)->navigate(address);
}

void MainWindow::Option1_Click()
{
    OptionsDialog &dialog = options();
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
    // Opening shows the stored choices: changes never saved are undone.
    dialog.applySettingsFile();
}

void MainWindow::runOnSelectedView(BrowserCommand command)
{
    if (const std::optional<int> index = viewForCommand(command, SSTab1->currentIndex()))
        runCommand(command, *view(*index));
}

void MainWindow::Command1_Click()
{
    runOnSelectedView(BrowserCommand::Back);
}

void MainWindow::Command16_Click()
{
    runOnSelectedView(BrowserCommand::Forward);
}

void MainWindow::Command17_Click()
{
    runOnSelectedView(BrowserCommand::Stop);
}

void MainWindow::Command18_Click()
{
    runOnSelectedView(BrowserCommand::Refresh);
}

void MainWindow::Command19_Click()
{
    runOnSelectedView(BrowserCommand::Print);
}

void MainWindow::print_Click()
{
    Command19_Click();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    Form_QueryUnload(event->spontaneous());
    event->accept();
}

void MainWindow::Form_QueryUnload(bool closedByUser)
{
    if (!closedByUser)
        return;
    // The hidden options window and the About box must not outlive this one.
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window != this)
            window->close();
    }
    QCoreApplication::quit();
}

void MainWindow::closer_Click()
{
    QCoreApplication::exit(0);
}

void MainWindow::about_Click()
{
    if (!m_about)
        m_about = new AboutBox;
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}
