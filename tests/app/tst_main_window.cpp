#include "support/window_fixture.h"

#include <QAction>
#include <QMenuBar>
#include <QTabBar>
#include <QToolButton>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void startsOnHomeWithTheTwelveTabsAndTheirViews();
    void controls_sitAtTheirDesignPlaces();
    void menus_haveTheirItemsAndPopupIsNotOnTheBar();
    void focus_movesFromTheStripAcrossTheToolbarLeftToRight();
    void switchedOffTab_isGreyedCannotBeClickedAndKeepsTheSelection();
};

void TestMainWindow::startsOnHomeWithTheTwelveTabsAndTheirViews()
{
    WindowFixture fixture;
    QTabWidget *tabs = fixture.tabs();
    const QStringList captions{u"YOUTUBE"_qs, u"GOOGLE"_qs,    u"YAHOO"_qs,       u"AOL"_qs,
                               u"MYSPACE"_qs, u"Meta Cafe"_qs, u"DailyMotion"_qs, u"Break.com"_qs,
                               u"Revver"_qs,  u"Favorites"_qs, u"My Notes"_qs,    u"HOME"_qs};
    QCOMPARE(tabs->count(), 12);
    for (int tab = 0; tab < 12; ++tab) {
        QCOMPARE(tabs->tabText(tab), captions[tab]);
        QVERIFY(tabs->isTabEnabled(tab));
        const int view = tab < 9 ? tab : 9;
        QCOMPARE(tabs->widget(tab)->isAncestorOf(fixture.view(view)), tab < 9 || tab == 11);
    }
    QCOMPARE(tabs->currentIndex(), 11);
    QCOMPARE(fixture.window->findChildren<BrowserView *>().size(), 10);
    QVERIFY(tabs->widget(9)->isAncestorOf(fixture.find<QWidget>(u"ListView4"_qs)));
    QVERIFY(tabs->widget(10)->isAncestorOf(fixture.find<QWidget>(u"Text2"_qs)));
    QCOMPARE(fixture.window->windowTitle(), u"Reelhop"_qs);
    // The design size first; the program then shows the window maximized.
    QCOMPARE(fixture.window->size(), QSize(760, 639));
}

void TestMainWindow::controls_sitAtTheirDesignPlaces()
{
    WindowFixture fixture;
    // Twips / 15, rounded; the picture buttons speak their tooltips.
    const QList<std::tuple<QString, QRect, QString>> toolbar{
        {u"Command1"_qs, {0, 0, 41, 25}, u"Back"_qs},
        {u"Command16"_qs, {40, 0, 41, 25}, u"Forward"_qs},
        {u"Command17"_qs, {80, 0, 41, 25}, u"Stop"_qs},
        {u"Command18"_qs, {120, 0, 41, 25}, u"Refresh"_qs},
        {u"Command19"_qs, {160, 0, 41, 25}, u"Print"_qs},
        {u"Combo1"_qs, {200, 3, 361, 21}, {}},
        {u"Command22"_qs, {560, 3, 33, 21}, u"Go to Web Address"_qs},
        {u"Text1"_qs, {592, 3, 129, 21}, {}},
        {u"Command21"_qs, {720, 0, 57, 25}, {}},
        {u"Command11"_qs, {776, 0, 89, 25}, {}},
    };
    const auto checkToolbar = [&] {
        for (const auto &[name, place, tooltip] : toolbar) {
            QCOMPARE(fixture.find<QWidget>(name)->geometry(), place);
            if (auto *button = qobject_cast<QToolButton *>(fixture.find<QWidget>(name))) {
                QCOMPARE(button->toolTip(), tooltip);
                QCOMPARE(button->accessibleName(), tooltip);
                QVERIFY(!button->icon().isNull());
            }
        }
    };
    checkToolbar();
    QCOMPARE(fixture.tabs()->geometry(), QRect(16, 32, 865, 585));

    // Controls on the tabs are placed in the strip's coordinates, below the captions.
    fixture.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(fixture.window.get()));
    const QList<std::pair<QString, QPoint>> onTabs{
        {u"WebBrowser1(0)"_qs, {8, 32}}, {u"WebBrowser1(9)"_qs, {8, 32}},
        {u"ListView4"_qs, {8, 32}},      {u"Command2"_qs, {88, 544}},
        {u"Label1"_qs, {304, 40}},       {u"Text2"_qs, {24, 72}},
    };
    for (const auto &[name, place] : onTabs)
        QCOMPARE(fixture.find<QWidget>(name)->mapTo(fixture.tabs(), QPoint()), place);

    // A narrow window cuts the row off; nothing in it moves.
    fixture.window->resize(300, 400);
    QTRY_COMPARE(fixture.window->width(), 300);
    checkToolbar();
}

void TestMainWindow::menus_haveTheirItemsAndPopupIsNotOnTheBar()
{
    WindowFixture fixture;
    const auto captions = [](const QList<QAction *> &actions) {
        QStringList result;
        for (QAction *action : actions)
            result.append(action->objectName() + u'=' + action->text());
        return result;
    };
    QCOMPARE(captions(fixture.window->menuBar()->actions()),
             (QStringList{u"=File"_qs, u"=Options"_qs, u"about=About Us"_qs}));
    QCOMPARE(captions(fixture.find<QMenu>(u"file"_qs)->actions()),
             (QStringList{u"print=&Print"_qs, u"closer=&Close"_qs}));
    QCOMPARE(captions(fixture.find<QMenu>(u"Option(1)"_qs)->actions()),
             QStringList{u"Option1=&Options"_qs});
    auto *popUp = fixture.find<QMenu>(u"PopUp"_qs);
    QCOMPARE(popUp->title(), u"Popup"_qs);
    QCOMPARE(captions(popUp->actions()),
             (QStringList{u"Delete=&Delete"_qs, u"Display=&Display"_qs}));
}

void TestMainWindow::focus_movesFromTheStripAcrossTheToolbarLeftToRight()
{
    WindowFixture fixture;
    fixture.window->show();
    fixture.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(fixture.window.get()));

    QTRY_COMPARE(QApplication::focusWidget(), fixture.tabs()->tabBar());
    const QStringList order{u"Command1"_qs,  u"Command16"_qs, u"Command17"_qs, u"Command18"_qs,
                            u"Command19"_qs, u"Combo1"_qs,    u"Command22"_qs, u"Text1"_qs,
                            u"Command21"_qs, u"Command11"_qs};
    for (const QString &name : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), name);
    }
}

void TestMainWindow::switchedOffTab_isGreyedCannotBeClickedAndKeepsTheSelection()
{
    WindowFixture fixture;
    fixture.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(fixture.window.get()));
    QTabWidget *tabs = fixture.tabs();
    QTabBar *bar = tabs->tabBar();

    fixture.window->setTabAvailable(3, false);
    QVERIFY(!tabs->isTabEnabled(3));
    QCOMPARE(tabs->tabText(3), u"AOL"_qs); // still in the strip
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(3).center());
    QCOMPARE(tabs->currentIndex(), 11);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
    QCOMPARE(tabs->currentIndex(), 2);

    // The selected tab switched off stays selected, greyed, until the user picks another.
    fixture.window->setTabAvailable(2, false);
    QCOMPARE(tabs->currentIndex(), 2);
    QCOMPARE(tabs->currentWidget(), tabs->widget(2));
    fixture.window->setTabAvailable(3, true);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(3).center());
    QCOMPARE(tabs->currentIndex(), 3);
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
