#include "mouse_history_buttons.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

MouseHistoryButtons::MouseHistoryButtons(QWidget *area, std::function<void()> back,
                                         std::function<void()> forward)
    : QObject(area), m_area(area), m_back(std::move(back)), m_forward(std::move(forward))
{
    // A page's inner widgets come and go with the engine: watch the events on their way to them.
    QCoreApplication::instance()->installEventFilter(this);
}

bool MouseHistoryButtons::eventFilter(QObject *watched, QEvent *event)
{
    const bool press = event->type() == QEvent::MouseButtonPress;
    if (!press && event->type() != QEvent::MouseButtonRelease)
        return false;
    const Qt::MouseButton button = static_cast<QMouseEvent *>(event)->button();
    if (button != Qt::BackButton && button != Qt::ForwardButton)
        return false;
    auto *target = qobject_cast<QWidget *>(watched);
    if (!target || !(target == m_area || m_area->isAncestorOf(target)))
        return false;
    if (press)
        (button == Qt::BackButton ? m_back : m_forward)();
    return true;
}
