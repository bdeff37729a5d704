#include "tab_placement.h"

#include <QTabWidget>

void TabPlacement::add(QWidget *control, QRect inStrip)
{
    m_places.append({control, inStrip});
}

void TabPlacement::setSize(QWidget *control, QSize size)
{
    for (auto &[placed, rect] : m_places) {
        if (placed == control)
            rect.setSize(size);
    }
}

void TabPlacement::apply() const
{
    for (const auto &[control, rect] : m_places) {
        const QPoint pageOrigin = control->parentWidget()->mapTo(m_strip, QPoint());
        control->setGeometry(rect.translated(-pageOrigin));
    }
}
