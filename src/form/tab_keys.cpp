#include "tab_keys.h"

#include <QShortcut>
#include <QTabWidget>

TabKeys::TabKeys(QWidget *window, QTabWidget *tabs) : QObject(window), m_tabs(tabs)
{
    const auto add = [this, window](QKeyCombination keys, auto action) {
        connect(new QShortcut(QKeySequence(keys), window), &QShortcut::activated, this, action);
    };
    const auto step = [this](int by) {
        return [this, by] { m_tabs->setCurrentIndex(stepped(*m_tabs, by)); };
    };
    add(Qt::CTRL | Qt::Key_Tab, step(1));
    add(Qt::CTRL | Qt::Key_PageDown, step(1));
    // Most keyboards send Shift+Tab as Backtab.
    add(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, step(-1));
    add(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab, step(-1));
    add(Qt::CTRL | Qt::Key_PageUp, step(-1));
    for (int tab = 0; tab < 9; ++tab) {
        add(Qt::ALT | Qt::Key(Qt::Key_1 + tab), [this, tab] {
            if (m_tabs->isTabEnabled(tab))
                m_tabs->setCurrentIndex(tab);
        });
    }
}

int TabKeys::stepped(const QTabWidget &tabs, int step)
{
    const int count = tabs.count();
    for (int moved = 1; moved < count; ++moved) {
        const int tab = ((tabs.currentIndex() + moved * step) % count + count) % count;
        if (tabs.isTabEnabled(tab))
            return tab;
    }
    return tabs.currentIndex();
}
