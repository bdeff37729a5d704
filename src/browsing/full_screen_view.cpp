#include "full_screen_view.h"

#include <QCloseEvent>
#include <QKeySequence>
#include <QShortcut>

FullScreenView::FullScreenView(QWebEnginePage *page)
{
    setPage(page);
    auto *leaveKey = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(leaveKey, &QShortcut::activated, this, &FullScreenView::leave);
}

void FullScreenView::closeEvent(QCloseEvent *event)
{
    event->ignore();
    leave();
}

void FullScreenView::leave()
{
    triggerPageAction(QWebEnginePage::ExitFullScreen);
}
