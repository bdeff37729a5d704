#ifndef REELHOP_BROWSING_BROWSER_EVENTS_H
#define REELHOP_BROWSING_BROWSER_EVENTS_H

#include "browser_view.h"

#include <QIcon>
#include <QObject>
#include <array>

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

    // The user sent the typed address off: the box follows the views again.
    void addressSubmitted();

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
};

#endif
