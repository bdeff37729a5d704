#ifndef REELHOP_BROWSING_PAGE_POINTING_H
#define REELHOP_BROWSING_PAGE_POINTING_H

#include <QList>
#include <QRectF>
#include <QWidget>
#include <optional>

class QWebEnginePage;

// A layer over a tab's page that takes the pointer while the user points at a part of it, so
// that the page's scripts see neither the layer nor the pointer's moves; the wheel still scrolls
// the page. Each place pointed at, and the click, is asked of the page with a script of the
// program's own world, and the marks of its answer are drawn. After the click it takes no more.
class PagePointing final : public QWidget
{
    Q_OBJECT

public:
    // Over the engine's view of the page, whose size it follows; the script is a function of the
    // place ({"x", "y", "clicked"}, in the page's units).
    PagePointing(QWidget *pageView, QWebEnginePage *page, QString script);

    bool hasBeenClicked() const { return m_clicked; }

signals:
    void answered(const QVariant &answer, bool clicked);
    void left();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void ask(QPointF widgetPlace, bool clicked);

    QWidget *m_pageView = nullptr;
    QWebEnginePage *m_page = nullptr;
    QString m_script;
    // Places of the page, in its units.
    QList<QRectF> m_marks;
    bool m_clicked = false;
    // One question at a time: the last move meanwhile waits.
    bool m_asking = false;
    std::optional<QPointF> m_waiting;
};

#endif
