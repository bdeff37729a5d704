#include "support/window_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QToolButton>
#include <QTreeWidget>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void startsOnHomeWithTheTwelveCaptions();
    void eachViewTabHoldsItsViewAndTheOthersTheirControls();
    void toolbarRow_sitsAtItsDesignPlaces();
    void pictureButtons_speakTheirTooltips();
    void fonts_areTheDesignedOnes();
    void menus_haveTheirItemsAndPopupIsNotOnTheBar();
    void focus_movesFromTheStripAcrossTheToolbarLeftToRight();
    void switchedOffTab_isGreyedCannotBeClickedAndKeepsTheSelection();
    void nothingIsADefaultButton();
};

void TestMainWindow::startsOnHomeWithTheTwelveCaptions()
{
    WindowFixture fixture;
    QCOMPARE(fixture.window->windowTitle(), u"Reelhop"_qs);
    QTabWidget *tabs = fixture.tabs();
    const QStringList captions{u"YOUTUBE"_qs, u"GOOGLE"_qs,      u"YAHOO"_qs,     u"AOL"_qs,
                               u"MYSPACE"_qs, u"Meta Cafe"_qs,   u"DailyMotion"_qs, u"Break.com"_qs,
                               u"Revver"_qs,  u"Favorites"_qs,   u"My Notes"_qs,  u"HOME"_qs};
    QCOMPARE(tabs->count(), 12);
    for (int tab = 0; tab < 12; ++tab) {
        QCOMPARE(tabs->tabText(tab), captions[tab]);
        QVERIFY(tabs->isTabEnabled(tab));
    }
    QCOMPARE(tabs->currentIndex(), 11);
    QCOMPARE(fixture.find<QComboBox>(u"Combo1"_qs)->currentText(), QString());
    QCOMPARE(fixture.find<QLineEdit>(u"Text1"_qs)->text(), QString());
    QCOMPARE(fixture.find<QPlainTextEdit>(u"Text2"_qs)->toPlainText(), QString());
    // The window opens at its design size; the program then shows it maximized.
    QCOMPARE(fixture.window->size(), QSize(760, 639));
}

void TestMainWindow::eachViewTabHoldsItsViewAndTheOthersTheirControls()
{
    WindowFixture fixture;
    QTabWidget *tabs = fixture.tabs();
    for (int tab = 0; tab < 9; ++tab)
        QVERIFY(tabs->widget(tab)->isAncestorOf(fixture.view(tab)));
    QVERIFY(tabs->widget(11)->isAncestorOf(fixture.view(9)));
    QCOMPARE(fixture.window->findChildren<BrowserView *>().size(), 10);
    for (int index = 0; index < 10; ++index)
        QCOMPARE(fixture.window->view(index), fixture.view(index));

    QWidget *favorites = tabs->widget(9);
    auto *list = fixture.find<QTreeWidget>(u"ListView4"_qs);
    QVERIFY(favorites->isAncestorOf(list));
    QCOMPARE(list->columnCount(), 2);
    QCOMPARE(list->headerItem()->text(0), u"ITEMS"_qs);
    QCOMPARE(list->headerItem()->text(1), QString());
    QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
    QVERIFY(!list->rootIsDecorated());
    QCOMPARE(fixture.find<QPushButton>(u"Command2"_qs)->text(), u"DISPLAY"_qs);
    QCOMPARE(fixture.find<QPushButton>(u"Command3"_qs)->text(), u"DELETE"_qs);
    QVERIFY(favorites->isAncestorOf(fixture.find<QPushButton>(u"Command3"_qs)));

    QWidget *notes = tabs->widget(10);
    QCOMPARE(fixture.find<QLabel>(u"Label1"_qs)->text(), u"MY NOTES"_qs);
    QVERIFY(notes->isAncestorOf(fixture.find<QPlainTextEdit>(u"Text2"_qs)));
    QCOMPARE(fixture.find<QPushButton>(u"Command4"_qs)->text(), u"Print It"_qs);
}

void TestMainWindow::toolbarRow_sitsAtItsDesignPlaces()
{
    WindowFixture fixture;
    // Twips / 15, rounded.
    const QList<std::pair<QString, QRect>> places{
        {u"Command1"_qs, {0, 0, 41, 25}},     {u"Command16"_qs, {40, 0, 41, 25}},
        {u"Command17"_qs, {80, 0, 41, 25}},   {u"Command18"_qs, {120, 0, 41, 25}},
        {u"Command19"_qs, {160, 0, 41, 25}},  {u"Combo1"_qs, {200, 3, 361, 21}},
        {u"Command22"_qs, {560, 3, 33, 21}},  {u"Text1"_qs, {592, 3, 129, 21}},
        {u"Command21"_qs, {720, 0, 57, 25}},  {u"Command11"_qs, {776, 0, 89, 25}},
        {u"SSTab1"_qs, {16, 32, 865, 585}},
    };
    for (const auto &[name, place] : places)
        QCOMPARE(fixture.find<QWidget>(name)->geometry(), place);

    // Controls on the tabs are placed in the strip's coordinates, below the captions.
    fixture.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(fixture.window.get()));
    QTabWidget *tabs = fixture.tabs();
    const QList<std::pair<QString, QPoint>> onTabs{
        {u"WebBrowser1(0)"_qs, {8, 32}}, {u"WebBrowser1(9)"_qs, {8, 32}},
        {u"ListView4"_qs, {8, 32}},      {u"Command2"_qs, {88, 544}},
        {u"Label1"_qs, {304, 40}},       {u"Text2"_qs, {24, 72}},
    };
    for (const auto &[name, place] : onTabs)
        QCOMPARE(fixture.find<QWidget>(name)->mapTo(tabs, QPoint()), place);
    QCOMPARE(fixture.find<QWidget>(u"Text2"_qs)->size(), QSize(689, 425));

    // A narrow window cuts the row off; nothing in it moves.
    fixture.window->resize(300, 400);
    QTRY_COMPARE(fixture.window->width(), 300);
    for (const auto &[name, place] : places.first(10))
        QCOMPARE(fixture.find<QWidget>(name)->geometry(), place);
}

void TestMainWindow::pictureButtons_speakTheirTooltips()
{
    WindowFixture fixture;
    const QList<std::pair<QString, QString>> buttons{
        {u"Command1"_qs, u"Back"_qs},    {u"Command16"_qs, u"Forward"_qs},
        {u"Command17"_qs, u"Stop"_qs},   {u"Command18"_qs, u"Refresh"_qs},
        {u"Command19"_qs, u"Print"_qs},  {u"Command22"_qs, u"Go to Web Address"_qs},
    };
    for (const auto &[name, tooltip] : buttons) {
        auto *button = fixture.find<QToolButton>(name);
        QCOMPARE(button->toolTip(), tooltip);
        QCOMPARE(button->accessibleName(), tooltip);
        QCOMPARE(button->text(), QString());
        QVERIFY2(!button->icon().pixmap(24, 24).isNull(), qPrintable(name));
    }
    QCOMPARE(fixture.find<QPushButton>(u"Command21"_qs)->text(), u"Find It!"_qs);
    QCOMPARE(fixture.find<QPushButton>(u"Command11"_qs)->text(), u"Add to Favorites"_qs);
    QVERIFY(!fixture.window->windowIcon().isNull());
}

void TestMainWindow::fonts_areTheDesignedOnes()
{
    WindowFixture fixture;
    const QList<std::tuple<QString, QString, qreal>> fonts{
        {u"Command21"_qs, u"MS Sans Serif"_qs, 9.75},
        {u"Label1"_qs, u"MS Sans Serif"_qs, 18},
        {u"Text2"_qs, u"Comic Sans MS"_qs, 15.75},
        {u"Command4"_qs, u"MS Sans Serif"_qs, 13.5},
    };
    for (const auto &[name, family, points] : fonts) {
        const QFont font = fixture.find<QWidget>(name)->font();
        QCOMPARE(font.family(), family);
        QCOMPARE(font.pointSizeF(), points);
        QVERIFY(!font.bold());
        QVERIFY(!font.italic());
    }
}

void TestMainWindow::menus_haveTheirItemsAndPopupIsNotOnTheBar()
{
    WindowFixture fixture;
    QStringList barCaptions;
    for (QAction *action : fixture.window->menuBar()->actions())
        barCaptions.append(action->text());
    QCOMPARE(barCaptions, (QStringList{u"File"_qs, u"Options"_qs, u"About Us"_qs}));

    const auto captionsOf = [&](const QString &menuName) {
        QStringList captions;
        for (QAction *action : fixture.find<QMenu>(menuName)->actions())
            captions.append(action->objectName() + u'=' + action->text());
        return captions;
    };
    QCOMPARE(captionsOf(u"file"_qs), (QStringList{u"print=&Print"_qs, u"closer=&Close"_qs}));
    QCOMPARE(captionsOf(u"Option(1)"_qs), QStringList{u"Option1=&Options"_qs});
    QCOMPARE(captionsOf(u"PopUp"_qs), (QStringList{u"Delete=&Delete"_qs, u"Display=&Display"_qs}));
    QCOMPARE(fixture.find<QMenu>(u"PopUp"_qs)->title(), u"Popup"_qs);
    QVERIFY(fixture.find<QAction>(u"about"_qs)->menu() == nullptr);
}

void TestMainWindow::focus_movesFromTheStripAcrossTheToolbarLeftToRight()
{
    WindowFixture fixture;
    fixture.window->show();
    fixture.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(fixture.window.get()));

    QTabWidget *tabs = fixture.tabs();
    QTRY_VERIFY(tabs->hasFocus() || tabs->tabBar()->hasFocus());
    const QStringList order{u"Command1"_qs,  u"Command16"_qs, u"Command17"_qs, u"Command18"_qs,
                            u"Command19"_qs, u"Combo1"_qs,    u"Command22"_qs, u"Text1"_qs,
                            u"Command21"_qs, u"Command11"_qs};
    for (const QString &name : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *focused = QApplication::focusWidget();
        QWidget *expected = fixture.find<QWidget>(name);
        QVERIFY2(focused == expected || expected->isAncestorOf(focused),
                 qPrintable(name + u" expected, got "_qs + focused->objectName()));
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

    // Switching the selected tab off leaves it selected (greyed) until the user picks another.
    fixture.window->setTabAvailable(2, false);
    QCOMPARE(tabs->currentIndex(), 2);
    QCOMPARE(tabs->currentWidget(), tabs->widget(2));
    fixture.window->setTabAvailable(2, true);
    fixture.window->setTabAvailable(3, true);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(3).center());
    QCOMPARE(tabs->currentIndex(), 3);
}

void TestMainWindow::nothingIsADefaultButton()
{
    WindowFixture fixture;
    for (auto *button : fixture.window->findChildren<QPushButton *>()) {
        QVERIFY2(!button->isDefault() && !button->autoDefault(), qPrintable(button->objectName()));
    }
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
