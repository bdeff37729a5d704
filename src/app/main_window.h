#ifndef REELHOP_APP_MAIN_WINDOW_H
#define REELHOP_APP_MAIN_WINDOW_H

#include "browsing/browser_view.h"
#include "notes/notes_document.h"
#include "search/site_catalogue.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>

class AboutBox;
class Blocker;
class BlockingControls;
class RequestPolicy;
class BrowserEvents;
class SearchHistory;
class SessionKeeper;
class PageTools;
class ResultsTab;
class NotesTab;
class FavoritesTab;
class GroupChoice;
enum class BrowserCommand;
class OptionsDialog;
class OptionsKeeper;
class QLabel;
class QShortcut;
class QTabWidget;
class SiteLineup;
class StatusPanel;
class TabPlacement;
struct ToolbarRow;

// The program's one window: the toolbar row, the twelve tabs with their views, the menus and the
// status bar. Its handlers stay thin; which view or address they use comes from the catalogue
// and the lineup of sites in use.
class MainWindow final : public QMainWindow
{
    Q_OBJECT

public:
    // The settings, favorites and sites files live in the program's folder where it can be
    // written, else in the user's data folder.
    MainWindow(const QString &programFolder, const BrowserViewFactory &makeView,
               NotesPrinterFactory makePrinter = defaultNotesPrinter, QWidget *parent = nullptr);
    ~MainWindow() override;
    Q_DISABLE_COPY_MOVE(MainWindow)

    BrowserView *view(int index) const;

    // A tab switched off stays in the strip, greyed, and cannot be chosen; switching tabs on or
    // off never changes which tab is selected, not even for a moment.
    void setTabAvailable(int tab, bool available);

    // The options window; the first use loads it, hidden.
    OptionsDialog &options();

    // What the sites file tells the views to call themselves; empty for the engine's own.
    QString userAgent() const;
    // What the engine asks before each request; the window keeps it.
    const RequestPolicy *requestPolicy() const;
    // Whether it decides as the user chose yet; blockingReady() says when it does.
    bool isBlockingReady() const;

    // Shown in the status bar until the user next presses a key or a button.
    void showNotice(const QString &text);

signals:
    void blockingReady();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void wireToolbarRow();
    void createTabs(QWidget *client, const BrowserViewFactory &makeView);
    void createResultsTab();
    void createMenus();
    void setFocusOrder();
    void createShortcuts();
    // The video player, and zoom, find and the memory saver.
    void createPageTools();
    template <typename Handler> QShortcut *addShortcut(QKeyCombination keys, Handler handler);

    void applyLineup(const SiteCatalogue::Lineup &before);
    void startUp();
    void showHomePage();
    void layOut();
    BrowserView *currentView() const;
    void runOnSelectedView(BrowserCommand command);
    void followSelectedViewLoading();
    void loadAddress();
    void search();
    void addFavorite();
    void openFavorite(const QString &address, bool renameHomeTab);
    void showAbout();
    void play(const QString &address);

    QString m_dataFolder;
    NotesPrinterFactory m_makePrinter;
    SiteLineup *m_lineup = nullptr;
    OptionsKeeper *m_options = nullptr;
    QPointer<AboutBox> m_about;
    TabPlacement *m_tabPlacement = nullptr;

    std::unique_ptr<ToolbarRow> m_toolbar;
    QShortcut *m_stopKey = nullptr;
    QTabWidget *m_tabs = nullptr;
    std::array<BrowserView *, SiteCatalogue::ViewCount> m_views{};
    FavoritesTab *m_favorites = nullptr;
    NotesTab *m_notes = nullptr;
    ResultsTab *m_results = nullptr;
    StatusPanel *m_statusPanel = nullptr;
    QLabel *m_progressPanel = nullptr;
    BrowserEvents *m_events = nullptr;
    SearchHistory *m_history = nullptr;
    GroupChoice *m_groups = nullptr;
    PageTools *m_pageTools = nullptr;
    SessionKeeper *m_session = nullptr;
    Blocker *m_blocker = nullptr;
    BlockingControls *m_blockingControls = nullptr;
    // The video player's program; empty when none is installed.
    QString m_player;
};

#endif
