#include "app/layout.h"

#include <QTest>

class TestLayout : public QObject
{
    Q_OBJECT

private slots:
    void layout_keepsTheMarginsAndNeverGoesNegative_data();
    void layout_keepsTheMarginsAndNeverGoesNegative();
};

void TestLayout::layout_keepsTheMarginsAndNeverGoesNegative_data()
{
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QSize>("view");
    QTest::addColumn<QSize>("strip");
    // 15360 x 11520 twips: views 14710 x 9370, strip 14910 x 9970.
    QTest::newRow("normal") << QSize(1024, 768) << QSize(981, 625) << QSize(994, 665);
    // 1500 twips high or less, as when minimized: everything takes the window's size.
    QTest::newRow("exactly 1500 twips") << QSize(400, 100) << QSize(400, 100) << QSize(400, 100);
    QTest::newRow("minimized") << QSize(160, 0) << QSize(160, 0) << QSize(160, 0);
    QTest::newRow("just above 1500") << QSize(400, 101) << QSize(357, 0) << QSize(370, 0);
    QTest::newRow("narrow") << QSize(20, 120) << QSize(0, 0) << QSize(0, 17);
}

void TestLayout::layout_keepsTheMarginsAndNeverGoesNegative()
{
    QFETCH(QSize, window);
    QFETCH(QSize, view);
    QFETCH(QSize, strip);
    const WindowLayout layout = layoutForWindow(window);
    QCOMPARE(layout.view, view);
    QCOMPARE(layout.tabStrip, strip);
}

QTEST_APPLESS_MAIN(TestLayout)
#include "tst_layout.moc"
