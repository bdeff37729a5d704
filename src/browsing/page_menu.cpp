#include "page_menu.h"

#include <QMenu>
#include <QWebEngineContextMenuRequest>
#include <QWebEngineView>

QMenu *PageMenu::make(QWebEngineView *view) const
{
    QMenu *menu = view->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The tabs are fixed: a link opens in the tab it is in, as a click does.
    for (const auto action : {QWebEnginePage::OpenLinkInNewTab, QWebEnginePage::OpenLinkInNewWindow,
                              QWebEnginePage::OpenLinkInNewBackgroundTab})
        menu->removeAction(view->pageAction(action));
    const QUrl link = view->lastContextMenuRequest()->linkUrl();
    if (play && (link.scheme() == u"http" || link.scheme() == u"https")) {
        QAction *entry = menu->addAction(QMenu::tr("Play in Video Player"));
        entry->setObjectName(QStringLiteral("playLink"));
        QObject::connect(entry, &QAction::triggered, menu, [play = play, link] { play(link); });
    }
    if (teach) {
        QAction *entry = menu->addAction(QMenu::tr("Read Results Here..."));
        entry->setObjectName(QStringLiteral("readResultsHere"));
        QObject::connect(entry, &QAction::triggered, menu, teach);
    }
    if (putSiteOnTab) {
        QAction *entry = menu->addAction(QMenu::tr("Put This Site on a Tab..."));
        entry->setObjectName(QStringLiteral("putSiteOnTab"));
        QObject::connect(entry, &QAction::triggered, menu, putSiteOnTab);
    }
    return menu;
}
