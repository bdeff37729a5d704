#include "form/cursor_blink_timeout.h"

#include <QLineEdit>
#include <QStyleHints>
#include <QTest>

class TestCursorBlinkTimeout : public QObject
{
    Q_OBJECT

private slots:
    void blinking_stopsAfterTheTimeout_andComesBackWithInput();
};

void TestCursorBlinkTimeout::blinking_stopsAfterTheTimeout_andComesBackWithInput()
{
    QStyleHints *hints = QGuiApplication::styleHints();
    const int flashTime = hints->cursorFlashTime();
    QVERIFY(flashTime > 0);
    QLineEdit box;
    {
        const CursorBlinkTimeout timeout(std::chrono::milliseconds(50));
        QTRY_COMPARE(hints->cursorFlashTime(), 0);
        QTest::keyClick(&box, Qt::Key_A);
        QCOMPARE(hints->cursorFlashTime(), flashTime);
        QTRY_COMPARE(hints->cursorFlashTime(), 0);
    }
    QCOMPARE(hints->cursorFlashTime(), flashTime);
}

QTEST_MAIN(TestCursorBlinkTimeout)
#include "tst_cursor_blink_timeout.moc"
