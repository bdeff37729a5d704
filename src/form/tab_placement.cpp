#include "tab_placement.h"

#include <QEvent>
#include <QStackedWidget>
#include <QTabWidget>

TabPlacement::TabPlacement(QTabWidget *strip) : QObject(strip), m_strip(strip)
{
    // The strip lays its pages out below the captions when it is first shown or resized.
    strip->findChild<QStackedWidget *>()->installEventFilter(this);
}

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

bool TabPlacement::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Move)
        apply();
    return QObject::eventFilter(watched, event);
}
