#ifndef REELHOP_BROWSING_BROWSER_EVENTS_H
#define REELHOP_BROWSING_BROWSER_EVENTS_H

#include "browser_view.h"

#include <QHash>
#include <QIcon>
#include <QObject>
#include <array>
#include <optional>

class QComboBox;
class QLabel;
class QTabWidget;
class StatusPanel;

// What the ten views report, shown in the window: status texts in the status panel, the selected
// view's address in the address box, its load progress in the progress panel, each view's load
// state on its tab. Also gives sound to the selected view alone.
class BrowserEvents final : public QObject
{
    Q_OBJECT

public:
    struct Controls
    {
        QTabWidget *tabs = nullptr;
        std::array<BrowserView *, 10> views{};
        QComboBox *addressBox = nullptr;
        StatusPanel *statusPanel = nullptr;
        QLabel *progressPanel = nullptr;
    };

    explicit BrowserEvents(const Controls &controls, QObject *parent = nullptr);

    // The user sent the typed address off: the box follows the views again and, when a page
    // opens it, keeps the address in its list for this run (newest first, at most MaxOpened).
    void addressSubmitted(bool opened);
    static constexpr int MaxOpened = 20;

    // The address as the box shows it: a view sent nowhere yet by nothing.
    static QString shownAddress(const QString &location);
    // What the box's text opens: the home page by its former address too.
    static QString addressToOpen(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    BrowserView *selectedView() const;
    void showStatusText(const QString &text);
    void followProgress();
    void showLoadState(int view);
    void showProgress();
    void followSelectedTab();

    Controls m_controls;
    // One icon per load state, kept: each icon draws its picture once and then reuses it, and
    // nine tabs change state at every search.
    std::array<QIcon, 4> m_stateIcons;
    // Text the user typed into the focused address box, which no report may overwrite.
    bool m_addressEdited = false;
    // Text typed on a tab and not sent, kept with the tab when the user goes to another one.
    QHash<int, QString> m_typedByTab;
    // An edit the user left the box with: abandoned, unless the user left for another tab.
    std::optional<std::pair<int, QString>> m_leftEdit;
    int m_shownTab = -1;
};

#endif
