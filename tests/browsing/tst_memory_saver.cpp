#include "browsing/memory_saver.h"
#include "support/fake_browser_view.h"

#include <QTest>

class TestMemorySaver : public QObject
{
    Q_OBJECT

private slots:
    void pagesOutOfSight_areFrozenThenDiscarded_unlessInUse();
};

void TestMemorySaver::pagesOutOfSight_areFrozenThenDiscarded_unlessInUse()
{
    QStringList log;
    std::vector<std::unique_ptr<FakeBrowserView>> views;
    for (int index = 0; index < 4; ++index) {
        views.push_back(std::make_unique<FakeBrowserView>(&log, nullptr));
        views.back()->setObjectName(u"view%1"_qs.arg(index));
        views.back()->state = BrowserView::LoadState::Loaded;
    }
    views[2]->inUse = true;                         // playing sound, say
    views[3]->state = BrowserView::LoadState::Idle; // never sent anywhere
    MemorySaver::Delays delays;
    delays.discard = std::chrono::milliseconds(300);
    delays.check = std::chrono::milliseconds(10);
    MemorySaver saver({views[0].get(), views[1].get(), views[2].get(), views[3].get()}, delays);
    saver.show(views[0].get());

    QTRY_COMPARE(views[1]->lifecycleState, BrowserView::Lifecycle::Discarded);
    QCOMPARE(log, (QStringList{u"view1 lifecycle 1"_qs, u"view1 lifecycle 2"_qs}));
    saver.show(views[1].get());
    QCOMPARE(views[1]->lifecycleState, BrowserView::Lifecycle::Active);
    // The page that was shown is out of sight from now on, and its turn comes.
    QTRY_COMPARE(views[0]->lifecycleState, BrowserView::Lifecycle::Discarded);
    QCOMPARE(views[2]->lifecycleState, BrowserView::Lifecycle::Active);
    QCOMPARE(views[3]->lifecycleState, BrowserView::Lifecycle::Active);
}

QTEST_MAIN(TestMemorySaver)
#include "tst_memory_saver.moc"
