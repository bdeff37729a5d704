#include "app/layout.h"

#include <QTest>

class TestLayout : public QObject
{
    Q_OBJECT

private slots:
    void normalWindow_keepsTheDesignMargins();
    void lowWindow_givesEverythingTheWindowSize();
    void smallNormalWindow_neverGivesNegativeSizes();
};

void TestLayout::normalWindow_keepsTheDesignMargins()
{
    // 15360 x 11520 twips: views 14710 x 9370, strip 14910 x 9970.
    const WindowLayout layout = layoutForWindow({1024, 768});
    QCOMPARE(layout.view, QSize(981, 625));
    QCOMPARE(layout.tabStrip, QSize(994, 665));
}

void TestLayout::lowWindow_givesEverythingTheWindowSize()
{
    const WindowLayout exactly = layoutForWindow({400, 100}); // 1500 twips high
    QCOMPARE(exactly.view, QSize(400, 100));
    QCOMPARE(exactly.tabStrip, QSize(400, 100));
    const WindowLayout minimized = layoutForWindow({160, 0});
    QCOMPARE(minimized.view, QSize(160, 0));
    QCOMPARE(layoutForWindow({400, 101}).tabStrip, QSize(370, 0));
}

void TestLayout::smallNormalWindow_neverGivesNegativeSizes()
{
    const WindowLayout layout = layoutForWindow({20, 120});
    QCOMPARE(layout.view, QSize(0, 0));
    QCOMPARE(layout.tabStrip, QSize(0, 17));
}

QTEST_APPLESS_MAIN(TestLayout)
#include "tst_layout.moc"
