#include "blocking_controls.h"

#include "blocking/blocker.h"
#include "settings/blocking_window.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTabWidget>

namespace {

bool isWebPage(const QUrl &url)
{
    return url.scheme() == u"http" || url.scheme() == u"https";
}

} // namespace

BlockingControls::BlockingControls(Blocker *blocker, SelectedView selectedView, QObject *parent)
    : QObject(parent), m_blocker(blocker), m_selectedView(std::move(selectedView))
{
}

BlockingControls::~BlockingControls()
{
    delete m_window.data();
}

void BlockingControls::addTo(QMenu *menu, QStatusBar *bar, const QList<BrowserView *> &views,
                             QTabWidget *tabs)
{
    for (BrowserView *view : views)
        follow(view);
    connect(tabs, &QTabWidget::currentChanged, this, &BlockingControls::showSelected);
    menu->addAction(tr("&Blocking..."), this, &BlockingControls::showWindow)
        ->setObjectName(QStringLiteral("blocking"));
    m_allow = menu->addAction(tr("&Allow This Site"));
    m_allow->setObjectName(QStringLiteral("allowSite"));
    m_allow->setCheckable(true);
    m_allow->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B));
    m_allow->setToolTip(tr("Block nothing on this site's pages"));
    connect(m_allow, &QAction::triggered, this, &BlockingControls::setAllowed);

    m_count = new QLabel(bar);
    m_count->setObjectName(QStringLiteral("blockedCount"));
    m_count->setToolTip(
        tr("Requests blocked on this page (Options, Allow This Site: Ctrl+Shift+B)"));
    bar->addPermanentWidget(m_count);
    showSelected();
}

void BlockingControls::follow(BrowserView *view)
{
    const auto ifSelected = [this, view] {
        if (m_selectedView() == view)
            showSelected();
    };
    connect(view, &BrowserView::blockedCountChanged, this, ifSelected);
    connect(view, &BrowserView::loadStateChanged, this, ifSelected);
}

void BlockingControls::showSelected()
{
    const BrowserView *view = m_selectedView();
    const QUrl page = view ? QUrl(view->locationUrl()) : QUrl();
    m_allow->setEnabled(isWebPage(page));
    m_allow->setChecked(isWebPage(page) && m_blocker->isAllowed(page));
    const int blocked = view ? view->blockedCount() : 0;
    m_count->setText(m_allow->isChecked() ? tr("Site allowed")
                     : blocked > 0        ? tr("%n blocked", nullptr, blocked)
                                          : QString());
}

void BlockingControls::setAllowed(bool allowed)
{
    BrowserView *view = m_selectedView();
    if (!view || !isWebPage(QUrl(view->locationUrl())))
        return;
    if (!m_blocker->setAllowed(QUrl(view->locationUrl()), allowed))
        emit statusMessage(tr("Your choice holds until Reelhop closes: %1 could not be saved.")
                               .arg(QDir::toNativeSeparators(m_blocker->settingsPath())));
    view->refresh();
    showSelected();
}

void BlockingControls::showWindow()
{
    if (!m_window) {
        m_window = new BlockingWindow(m_blocker);
        // What changed shows on the page in sight at once.
        connect(m_window, &QDialog::finished, this, &BlockingControls::showSelected);
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}
