#ifndef REELHOP_BROWSING_MOUSE_HISTORY_BUTTONS_H
#define REELHOP_BROWSING_MOUSE_HISTORY_BUTTONS_H

#include <QObject>
#include <functional>

class QWidget;

// The mouse's back and forward buttons anywhere over an area, pages included, run the back and
// forward commands. Pages get neither button, so nothing moves twice.
class MouseHistoryButtons final : public QObject
{
    Q_OBJECT

public:
    MouseHistoryButtons(QWidget *area, std::function<void()> back, std::function<void()> forward);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_area = nullptr;
    std::function<void()> m_back;
    std::function<void()> m_forward;
};

#endif
