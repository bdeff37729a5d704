#include "app/main_window.h"
#include "browsing/engine_loader.h"
#include "browsing/memory_saver.h"
#include "browsing/web_engine_environment.h"
#include "files/data_file.h"
#include "support/fake_browser_view.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The stand-in engine module's views.
// What the engine's pages were asked, in order.
static QStringList standInCalls;

Q_DECL_EXPORT BrowserView *createStandInView(QWidget *parent)
{
    auto *view = new FakeBrowserView(&standInCalls, parent);
    view->setObjectName(u"standInPage"_s);
    return view;
}

namespace {

QList<FakeBrowserView *> enginePages(const QObject *holder)
{
    return holder->findChildren<FakeBrowserView *>(u"standInPage"_s);
}

// A program folder whose blocker does not ask the lists' own addresses for fresh copies: a test
// reaches no host but 127.0.0.1, and a lookup still under way as the test ends is a leak to the
// sanitizers.
bool withoutListUpdates(const QTemporaryDir &folder)
{
    return DataFile::write(folder.filePath(u"blocking.ini"_s), "[blocking]\nupdate lists=false\n");
}

} // namespace

class TestEngineLoader : public QObject
{
    Q_OBJECT

private slots:
    void environment_choosesCompositingSwitchesAndSaysWhySandboxIsOff()
    {
        using enum PageCompositing;
        // The user's backend wins; else OpenGL only with a GPU that is not forced to software.
        for (const auto &[backend, forced, gpu, chosen] :
             {std::tuple{"", false, true, OpenGL}, {"", true, true, Software},
              {"", false, false, Software}, {"software", false, true, Software},
              {"rhi", false, false, OpenGL}})
            QCOMPARE(choosePageCompositing(backend, forced, gpu), chosen);
        QCOMPARE(engineSwitches("", false), "--site-per-process --log-level=3");
        QCOMPARE(engineSwitches(" --x ", true), "--site-per-process --x");
        QCOMPARE(sandboxOffReason(false, "", "--no-sandboxes --y"), QString());
        for (const auto &[root, disable, flags, why] :
             {std::tuple{true, "", "", "Reelhop runs as root"},
              {false, "1", "", "QTWEBENGINE_DISABLE_SANDBOX is set"},
              {false, "", "--x --no-sandbox", "QTWEBENGINE_CHROMIUM_FLAGS holds --no-sandbox"}})
            QVERIFY(sandboxOffReason(root, disable, flags).contains(QLatin1StringView(why)));
    }

    void window_isOnScreenBeforeTheEngineLoads_itsViewsKeepWhatTheyWereTold()
    {
        QTemporaryDir folder;
        QVERIFY(withoutListUpdates(folder));
        EngineLoader engine(QStringLiteral(STAND_IN_ENGINE));
        MainWindow window(folder.path(), engine.factory());
        engine.prepareWindow(&window, PageCompositing::Software);
        // Start-up has sent the home view and the first site's view to their pages.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QCOMPARE(enginePages(&window).size(), 0);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(enginePages(&window).size(), 0); // not before the first paint is done
        QTRY_COMPARE(enginePages(&window).size(), 2);
        QCOMPARE(window.view(9)->locationUrl(), u"reelhop:home"_s);
        // Only the page in sight is heard, though the views were told before their pages came.
        QCOMPARE(enginePages(window.view(0)).value(0)->muted, true);
        QCOMPARE(enginePages(window.view(9)).value(0)->muted, false);
        // Each command reaches the page, which says it took it.
        standInCalls.clear();
        BrowserView *view = window.view(0);
        QVERIFY(view->goBack() && view->goForward() && view->stop() && view->refresh());
        QCOMPARE(standInCalls, (QStringList{u"standInPage goBack"_s, u"standInPage goForward"_s,
                                            u"standInPage stop"_s, u"standInPage refresh"_s}));
    }

    void pagesHeld_loadOnlyOnceReleased_asTheWindowsBlockerSays()
    {
        QTemporaryDir folder;
        QVERIFY(withoutListUpdates(folder));
        EngineLoader engine(QStringLiteral(STAND_IN_ENGINE));
        MainWindow window(folder.path(), engine.factory());
        // The window's blocker reads its lists in a thread: not ready at first, then said so.
        QVERIFY(!window.isBlockingReady());
        QSignalSpy ready(&window, &MainWindow::blockingReady);
        standInCalls.clear();
        engine.holdPages();
        engine.prepareWindow(&window, PageCompositing::Software);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The engine's views are made meanwhile, and told nothing.
        QTRY_COMPARE(enginePages(&window).size(), 2);
        QCOMPARE(standInCalls.filter(QRegularExpression(u"^standInPage (show|navigate)"_s)),
                 QStringList());
        QTRY_COMPARE_WITH_TIMEOUT(ready.size(), 1, 60000); // the lists, read in a thread
        QVERIFY(window.isBlockingReady());
        engine.releasePages();
        QCOMPARE(standInCalls.filter(QRegularExpression(u"^standInPage (show|navigate)"_s)),
                 (QStringList{u"standInPage showPage reelhop:home"_s,
                              u"standInPage navigate https://www.youtube.com/"_s}));
    }

    void memorySaver_pagesOutOfSight_areFrozenThenDiscarded_unlessInUse()
    {
        QStringList log;
        QWidget holder;
        QList<FakeBrowserView *> views;
        for (int index = 0; index < 4; ++index) {
            views.append(new FakeBrowserView(&log, &holder));
            views.back()->setObjectName(u"view%1"_s.arg(index));
            views.back()->state = BrowserView::LoadState::Loaded;
        }
        views[2]->inUse = true;                         // playing sound, say
        views[3]->state = BrowserView::LoadState::Idle; // never sent anywhere
        using std::chrono::milliseconds;
        MemorySaver saver({views.begin(), views.end()},
                          {.discard = milliseconds(300), .check = milliseconds(10)});
        saver.show(views[0]);

        QTRY_COMPARE(views[1]->lifecycleState, BrowserView::Lifecycle::Discarded);
        QCOMPARE(log, (QStringList{u"view1 lifecycle 1"_s, u"view1 lifecycle 2"_s}));
        saver.show(views[1]);
        QElapsedTimer away;
        away.start();
        QCOMPARE(views[1]->lifecycleState, BrowserView::Lifecycle::Active);
        // The page that was shown is out of sight from now on, not since its load, and its
        // turn comes: frozen at half the delay at the earliest.
        QTRY_VERIFY(views[0]->lifecycleState != BrowserView::Lifecycle::Active);
        QVERIFY2(away.elapsed() >= 150, qPrintable(QString::number(away.elapsed())));
        QTRY_COMPARE(views[0]->lifecycleState, BrowserView::Lifecycle::Discarded);
        QCOMPARE(views[2]->lifecycleState, BrowserView::Lifecycle::Active);
        QCOMPARE(views[3]->lifecycleState, BrowserView::Lifecycle::Active);

        // reelhop.ini: seconds, as the README says; off; the default of fifteen minutes.
        QTemporaryDir folder;
        const auto configured = [&](const QByteArray &text) {
            QFile file(folder.filePath(u"reelhop.ini"_s));
            file.open(QIODevice::WriteOnly);
            file.write(text);
            file.close();
            return MemorySaver::configured(folder.path());
        };
        QCOMPARE(configured("[memory saver]\ndiscard after=1800\n")->discard,
                 std::chrono::seconds(1800));
        QVERIFY(!configured("[memory saver]\nenabled=false\n"));
        QCOMPARE(configured("[memory saver]\ndiscard after=soon\n")->discard,
                 std::chrono::minutes(15));
    }
};

QTEST_MAIN(TestEngineLoader)
#include "tst_engine_loader.moc"
