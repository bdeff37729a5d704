#include "app/main_window.h"
#include "browsing/engine_loader.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

QList<BrowserView *> enginePages(const QObject *holder)
{
    return holder->findChildren<BrowserView *>(u"standInPage"_qs);
}

} // namespace

class TestEngineLoader : public QObject
{
    Q_OBJECT

private slots:
    void window_isOnScreenBeforeTheEngineLoads();
    void viewMutedBeforeItsEngine_staysMuted();
};

void TestEngineLoader::window_isOnScreenBeforeTheEngineLoads()
{
    QTemporaryDir folder;
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
    QCOMPARE(window.view(9)->locationUrl(), u"qrc:/home/index.html"_qs);
}

void TestEngineLoader::viewMutedBeforeItsEngine_staysMuted()
{
    EngineLoader engine(QStringLiteral(STAND_IN_ENGINE));
    engine.release();
    std::unique_ptr<BrowserView> view(engine.factory()(nullptr));
    view->setMuted(true);
    QVERIFY(view->navigate(u"https://video.example/"_qs));
    QTRY_COMPARE(enginePages(view.get()).size(), 1);
    QCOMPARE(enginePages(view.get())[0]->property("muted"), QVariant(true));
    QCOMPARE(view->locationUrl(), u"https://video.example/"_qs);
}

QTEST_MAIN(TestEngineLoader)
#include "tst_engine_loader.moc"
