#ifndef REELHOP_APP_MAIN_WINDOW_H
#define REELHOP_APP_MAIN_WINDOW_H

#include "browsing/browser_view.h"
#include "notes/notes_document.h"

#include <QMainWindow>
#include <QPointer>
#include <array>

class AboutBox;
class BrowserEvents;
class NotesTab;
class FavoritesTab;
enum class BrowserCommand;
class OptionsDialog;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QToolButton;
class TabPlacement;

// The program's one window: the toolbar row, the twelve tabs with their views, the menus and the
// status bar. Its handlers stay thin; which view or address they use comes from the catalogue.
class MainWindow final : public QMainWindow
{
    Q_OBJECT

public:
    // The settings and favorites files live in the program's folder where it can be written,
    // else in the user's data folder.
    MainWindow(const QString &programFolder, const BrowserViewFactory &makeView,
               NotesPrinterFactory makePrinter = defaultNotesPrinter, QWidget *parent = nullptr);
    ~MainWindow() override;
    Q_DISABLE_COPY_MOVE(MainWindow)

    BrowserView *view(int index) const;

    // A tab switched off stays in the strip, greyed, and cannot be chosen; switching tabs on or
    // off never changes which tab is selected.
    void setTabAvailable(int tab, bool available);

    // The options window holds the live settings; the first use loads it, hidden.
    OptionsDialog &options();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createToolbarRow(QWidget *client);
    void createTabs(QWidget *client, const BrowserViewFactory &makeView);
    void createMenus();
    void createStatusBar();
    void setFocusOrder();
    void createShortcuts();
    QToolButton *createPictureButton(QWidget *client, const QString &name, const QString &tooltip,
                                     const QString &keys, const QString &icon, QRect place);

    BrowserView *currentView() const;
    void loadAddressIntoCurrentView();
    void runOnSelectedView(BrowserCommand command);
    void showStatus(const QString &text);

    void openFavorite(const QString &address, bool renameHomeTab);

    void Form_Load();
    void Form_Resize();
    void Form_QueryUnload(bool closedByUser);
    void Command1_Click();
    void Command16_Click();
    void Command17_Click();
    void Command18_Click();
    void Command19_Click();
    void Combo1_KeyDown(int keyCode);
    void Command22_Click();
    void Text1_KeyDown(int keyCode);
    void Command21_Click();
    void Command11_Click();
    void print_Click();
    void closer_Click();
    void Option1_Click();
    void about_Click();

    QString m_dataFolder;
    NotesPrinterFactory m_makePrinter;
    QPointer<OptionsDialog> m_options;
    QPointer<AboutBox> m_about;
    TabPlacement *m_tabPlacement = nullptr;

    QToolButton *Command1 = nullptr;
    QToolButton *Command16 = nullptr;
    QToolButton *Command17 = nullptr;
    QToolButton *Command18 = nullptr;
    QToolButton *Command19 = nullptr;
    QComboBox *Combo1 = nullptr;
    QToolButton *Command22 = nullptr;
    QLineEdit *Text1 = nullptr;
    QPushButton *Command21 = nullptr;
    QPushButton *Command11 = nullptr;
    QTabWidget *SSTab1 = nullptr;
    std::array<BrowserView *, 10> WebBrowser1{};
    FavoritesTab *m_favorites = nullptr;
    NotesTab *m_notes = nullptr;
    QLabel *m_statusPanel = nullptr;
    QLabel *m_progressPanel = nullptr;
    BrowserEvents *m_events = nullptr;
};

#endif
