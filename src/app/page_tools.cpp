#include "page_tools.h"

#include "browsing/find_bar.h"
#include "browsing/memory_saver.h"
#include "browsing/zoom_levels.h"

#include <QMainWindow>
#include <QShortcut>
#include <QTabWidget>

PageTools::PageTools(QWidget *window, QTabWidget *tabs, const QList<BrowserView *> &views,
                     const QString &dataFolder, SelectedView selectedView)
    : QObject(window), m_selectedView(std::move(selectedView))
{
    const auto shortcut = [window, this](QKeyCombination keys, auto handler) {
        connect(new QShortcut(QKeySequence(keys), window), &QShortcut::activated, this, handler);
    };
    // Zoom, as in browsers: each step is kept for the site of the page.
    m_zoom = new ZoomLevels(ZoomLevels::path(dataFolder), this);
    connect(m_zoom, &ZoomLevels::statusMessage, this, &PageTools::statusMessage);
    for (BrowserView *view : views)
        m_zoom->follow(view);
    const auto zoomSelected = [this](int step) {
        return [this, step] {
            if (BrowserView *selected = m_selectedView())
                m_zoom->step(selected, step);
        };
    };
    shortcut(Qt::CTRL | Qt::Key_Plus, zoomSelected(1));
    shortcut(Qt::CTRL | Qt::Key_Equal, zoomSelected(1));
    shortcut(Qt::CTRL | Qt::Key_Minus, zoomSelected(-1));
    shortcut(Qt::CTRL | Qt::Key_0, zoomSelected(0));

    auto *main = qobject_cast<QMainWindow *>(window);
    m_findBar = new FindBar(main ? main->centralWidget() : window);
    shortcut(Qt::CTRL | Qt::Key_F, [this] {
        if (BrowserView *selected = m_selectedView())
            m_findBar->open(selected);
    });
    shortcut(QKeyCombination(Qt::Key_F3), [this] { m_findBar->find(false); });
    shortcut(Qt::SHIFT | Qt::Key_F3, [this] { m_findBar->find(true); });
    connect(tabs, &QTabWidget::currentChanged, m_findBar, &FindBar::dismiss);

    if (const std::optional<MemorySaver::Delays> delays = MemorySaver::configured(dataFolder)) {
        auto *saver = new MemorySaver(views, *delays, this);
        connect(tabs, &QTabWidget::currentChanged, saver,
                [this, saver] { saver->show(m_selectedView()); });
        saver->show(m_selectedView());
    }
}

void PageTools::load()
{
    m_zoom->load();
}

void PageTools::placeFindBar(QRect pages)
{
    m_findBar->setGeometry(qMax(pages.left(), pages.right() - 420), pages.top() + 30,
                           qMin(420, pages.width()), m_findBar->sizeHint().height());
}
