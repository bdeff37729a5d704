#include "cursor_blink_timeout.h"

#include <QEvent>
#include <QGuiApplication>
#include <QStyleHints>

CursorBlinkTimeout::CursorBlinkTimeout(std::chrono::milliseconds timeout, QObject *parent)
    : QObject(parent), m_flashTime(QGuiApplication::styleHints()->cursorFlashTime())
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(timeout);
    connect(&m_timer, &QTimer::timeout, this,
            [] { QGuiApplication::styleHints()->setCursorFlashTime(0); });
    m_timer.start();
    QGuiApplication::instance()->installEventFilter(this);
}

CursorBlinkTimeout::~CursorBlinkTimeout()
{
    QGuiApplication::styleHints()->setCursorFlashTime(m_flashTime);
}

bool CursorBlinkTimeout::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::InputMethod:
    case QEvent::FocusIn:
        if (QGuiApplication::styleHints()->cursorFlashTime() != m_flashTime)
            QGuiApplication::styleHints()->setCursorFlashTime(m_flashTime);
        m_timer.start();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
