#ifndef REELHOP_FORM_TAB_PLACEMENT_H
#define REELHOP_FORM_TAB_PLACEMENT_H

#include <QList>
#include <QObject>
#include <QRect>

class QTabWidget;
class QWidget;

// Controls on a tab are designed in the tab strip's own coordinates, but Qt puts them on the
// tab's page, which starts below the captions once the strip is laid out. This keeps each
// control's design place and moves it onto its page whenever the strip moves its pages.
class TabPlacement final : public QObject
{
    Q_OBJECT

public:
    explicit TabPlacement(QTabWidget *strip);

    void add(QWidget *control, QRect inStrip);
    void setSize(QWidget *control, QSize size);
    void apply() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QTabWidget *m_strip = nullptr;
    QList<std::pair<QWidget *, QRect>> m_places;
};

#endif
