#ifndef REELHOP_BROWSING_PAGE_MENU_H
#define REELHOP_BROWSING_PAGE_MENU_H

#include <QUrl>
#include <functional>

class QMenu;
class QWebEngineView;

// A tab's page menu: the engine's own, less what the fixed tabs cannot do, with the program's
// entries that are offered (an entry without its action is not).
struct PageMenu
{
    std::function<void(const QUrl &link)> play;
    std::function<void()> teach;
    // With the address of the page's description of its site's search, when it has one.
    std::function<void()> putSiteOnTab;

    // Deletes itself once closed.
    QMenu *make(QWebEngineView *view) const;
};

#endif
