#ifndef REELHOP_FORM_CURSOR_BLINK_TIMEOUT_H
#define REELHOP_FORM_CURSOR_BLINK_TIMEOUT_H

#include <QObject>
#include <QTimer>

// A text cursor stops blinking after some seconds without input and blinks again at the next key
// or click, as GNOME's programs do. Each blink redraws the window, and with web pages in it that
// costs a few per cent of a core for as long as the cursor blinks.
class CursorBlinkTimeout final : public QObject
{
    Q_OBJECT

public:
    explicit CursorBlinkTimeout(std::chrono::milliseconds timeout, QObject *parent = nullptr);
    ~CursorBlinkTimeout() override;
    Q_DISABLE_COPY_MOVE(CursorBlinkTimeout)

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int m_flashTime = 0;
    QTimer m_timer;
};

#endif
