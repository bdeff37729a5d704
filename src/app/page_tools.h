#ifndef REELHOP_APP_PAGE_TOOLS_H
#define REELHOP_APP_PAGE_TOOLS_H

#include "browsing/browser_view.h"

#include <QObject>
#include <functional>

class FindBar;
class QTabWidget;
class ZoomLevels;

// What acts on the page in sight: zoom kept per site (Ctrl+Plus, Ctrl+Minus, Ctrl+0, Ctrl and
// the wheel), find in page (Ctrl+F, F3, Shift+F3) and the memory saver for the pages out of
// sight.
class PageTools final : public QObject
{
    Q_OBJECT

public:
    using SelectedView = std::function<BrowserView *()>;

    // Its shortcuts act in the window; the find bar sits over the window's client area.
    PageTools(QWidget *window, QTabWidget *tabs, const QList<BrowserView *> &views,
              const QString &dataFolder, SelectedView selectedView);

    // Reads the zoom of each site.
    void load();
    // Puts the find bar over the top right of the pages.
    void placeFindBar(QRect pages);

signals:
    void statusMessage(const QString &text);

private:
    SelectedView m_selectedView;
    ZoomLevels *m_zoom = nullptr;
    FindBar *m_findBar = nullptr;
};

#endif
