#ifndef REELHOP_APP_BLOCKING_CONTROLS_H
#define REELHOP_APP_BLOCKING_CONTROLS_H

#include "browsing/browser_view.h"

#include <QObject>
#include <QPointer>
#include <functional>

class Blocker;
class BlockingWindow;
class QAction;
class QLabel;
class QMenu;
class QStatusBar;
class QTabWidget;

// What the user sees of the blocker: how many requests were blocked on the page in sight, in
// the status bar; "Allow This Site" for that page (a menu entry and a key), which reloads the
// page; and the Blocking window.
class BlockingControls final : public QObject
{
    Q_OBJECT

public:
    using SelectedView = std::function<BrowserView *()>;

    BlockingControls(Blocker *blocker, SelectedView selectedView, QObject *parent);
    ~BlockingControls() override;
    Q_DISABLE_COPY_MOVE(BlockingControls)

    // Its menu entries go to the menu, the count to the status bar; it follows the views and
    // the tab in sight.
    void addTo(QMenu *menu, QStatusBar *bar, const QList<BrowserView *> &views, QTabWidget *tabs);
    // The selected tab changed, or its page did.
    void showSelected();

signals:
    void statusMessage(const QString &text);

private:
    void follow(BrowserView *view);
    void setAllowed(bool allowed);
    void showWindow();

    Blocker *m_blocker;
    SelectedView m_selectedView;
    QAction *m_allow = nullptr;
    QLabel *m_count = nullptr;
    QPointer<BlockingWindow> m_window;
};

#endif
