#include "page_pointing.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineScript>

using namespace Qt::StringLiterals;

namespace {

// As many as a page may list, each a real place of at most a very long page.
constexpr int MostMarks = 400;
constexpr qreal FarthestPlace = 1e6;

QList<QRectF> marksOf(const QVariant &answer)
{
    QList<QRectF> marks;
    for (const QVariant &mark : answer.toMap().value(u"marks"_s).toList()) {
        const QVariantList sides = mark.toList();
        if (marks.size() == MostMarks || sides.size() != 4)
            break;
        const QRectF place(sides[0].toReal(), sides[1].toReal(), sides[2].toReal(),
                           sides[3].toReal());
        const QRectF bounds(-FarthestPlace, -FarthestPlace, 2 * FarthestPlace, 2 * FarthestPlace);
        if (bounds.contains(place))
            marks.append(place);
    }
    return marks;
}

} // namespace

PagePointing::PagePointing(QWidget *pageView, QWebEnginePage *page, QString script)
    : QWidget(pageView), m_pageView(pageView), m_page(page), m_script(std::move(script))
{
    setObjectName(u"pagePointing"_s);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setGeometry(pageView->rect());
    pageView->installEventFilter(this);
    show();
    raise();
    setFocus();
}

void PagePointing::ask(QPointF widgetPlace, bool clicked)
{
    if (m_asking && !clicked) {
        m_waiting = widgetPlace;
        return;
    }
    m_asking = true;
    const QPointF place = widgetPlace / m_page->zoomFactor();
    const QJsonObject point{{u"x"_s, place.x()}, {u"y"_s, place.y()}, {u"clicked"_s, clicked}};
    const QString call = m_script + u'(' +
                         QString::fromUtf8(QJsonDocument(point).toJson(QJsonDocument::Compact)) +
                         u')';
    QPointer<PagePointing> self(this);
    m_page->runJavaScript(call, QWebEngineScript::ApplicationWorld,
                          [self, clicked](const QVariant &answer) {
                              // A move's answer after the click's is no answer.
                              if (!self || (self->m_clicked && !clicked))
                                  return;
                              self->m_asking = false;
                              self->m_marks = marksOf(answer);
                              self->update();
                              emit self->answered(answer, clicked);
                              if (!clicked && self->m_waiting)
                                  self->ask(*std::exchange(self->m_waiting, std::nullopt), false);
                          });
}

bool PagePointing::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pageView && event->type() == QEvent::Resize)
        setGeometry(m_pageView->rect());
    return QWidget::eventFilter(watched, event);
}

void PagePointing::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QColor mark(255, 140, 0);
    painter.setPen(QPen(mark, 2));
    painter.setBrush(QColor(mark.red(), mark.green(), mark.blue(), 50));
    const qreal zoom = m_page->zoomFactor();
    for (const QRectF &place : std::as_const(m_marks)) {
        const QRectF shown(place.topLeft() * zoom, place.size() * zoom);
        if (shown.intersects(rect()))
            painter.drawRect(shown);
    }
}

void PagePointing::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_clicked)
        ask(event->position(), false);
}

void PagePointing::mousePressEvent(QMouseEvent *event)
{
    if (m_clicked || event->button() != Qt::LeftButton)
        return;
    m_clicked = true;
    m_waiting.reset();
    setCursor(Qt::ArrowCursor);
    ask(event->position(), true);
}

void PagePointing::wheelEvent(QWheelEvent *event)
{
    // The engine's widget of the page scrolls it; the marks follow at the next move.
    if (QWidget *page = m_pageView->focusProxy())
        QCoreApplication::sendEvent(page, event);
}

void PagePointing::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        emit left();
    else
        QWidget::keyPressEvent(event);
}
