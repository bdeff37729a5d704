#include "app/control_names.h"
#include "settings/setting_check_box.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Settings whose search boxes hold the given states; the start-up boxes are all checked.
QByteArray settingsWithSearchBoxes(const QList<int> &searchStates)
{
    QByteArray bytes;
    for (int box = 0; box < 9; ++box)
        bytes += " 1 \r\n";
    for (const int state : searchStates)
        bytes += ' ' + QByteArray::number(state) + " \r\n";
    return bytes;
}

QList<bool> siteTabsAvailable(QTabWidget *tabs)
{
    QList<bool> available;
    for (int tab = 0; tab < 9; ++tab)
        available.append(tabs->isTabEnabled(tab));
    return available;
}

QString navigation(int view, const char *address)
{
    return u"WebBrowser1(%1) navigate %2"_qs.arg(view).arg(QLatin1String(address));
}

} // namespace

class TestMultiSiteSearch : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    void findIt_loadsEncodedResultsInExactlyTheCheckedSites();
    void enterWithAnyModifier_searchesAsTheButtonDoes();
    void greyedBox_leavesItsSiteOut();
    void emptyText_loadsTheBarePrefixes();
    void noBoxChecked_switchesEverySiteTabOffAndLoadsNothing();
    void openDialog_itsUnsavedChoicesAreUsed();
    void selectedTab_isNeverChanged();
};

void TestMultiSiteSearch::findIt_loadsEncodedResultsInExactlyTheCheckedSites()
{
    const QByteArray settings = settingsWithSearchBoxes({0, 0, 1, 0, 0, 1, 0, 0, 0});
    WindowFixture fixture(&settings);
    QTabWidget *tabs = fixture.tabs();
    // All site tabs go off first, then each checked site's tab comes on just before it loads.
    QList<QList<bool>> availableAtNavigation;
    for (const int site : {2, 5})
        fixture.view(site)->onNavigate = [&] { availableAtNavigation.append(siteTabsAvailable(tabs)); };
    QTest::keyClicks(fixture.find<QLineEdit>(u"Text1"_qs), u"rock & roll"_qs);
    QTest::mouseClick(fixture.find<QPushButton>(u"Command21"_qs), Qt::LeftButton);

    QCOMPARE(fixture.log,
             (QStringList{
                 navigation(2, "http://video.search.yahoo.com/search/video?p=rock%20%26%20roll"),
                 navigation(5, "http://www.metacafe.com/tags/rock%20%26%20roll")}));
    QCOMPARE(availableAtNavigation,
             (QList<QList<bool>>{{false, false, true, false, false, false, false, false, false},
                                 {false, false, true, false, false, true, false, false, false}}));
    QCOMPARE(siteTabsAvailable(tabs),
             (QList<bool>{false, false, true, false, false, true, false, false, false}));
    for (int tab = 9; tab < 12; ++tab)
        QVERIFY(tabs->isTabEnabled(tab));

    // A second search with other words reads the text anew.
    fixture.log.clear();
    fixture.find<QLineEdit>(u"Text1"_qs)->setText(u"AC/DC"_qs);
    QTest::mouseClick(fixture.find<QPushButton>(u"Command21"_qs), Qt::LeftButton);
    QCOMPARE(fixture.log,
             (QStringList{navigation(2, "http://video.search.yahoo.com/search/video?p=AC%2FDC"),
                          navigation(5, "http://www.metacafe.com/tags/AC%2FDC")}));
}

void TestMultiSiteSearch::enterWithAnyModifier_searchesAsTheButtonDoes()
{
    const QByteArray settings = settingsWithSearchBoxes({0, 0, 0, 0, 0, 0, 0, 0, 1});
    WindowFixture fixture(&settings);
    auto *text = fixture.find<QLineEdit>(u"Text1"_qs);
    QTest::keyClicks(text, u"C#"_qs);
    const QList<Qt::KeyboardModifiers> modifiers{Qt::NoModifier, Qt::ShiftModifier,
                                                 Qt::ControlModifier, Qt::AltModifier};
    for (const Qt::KeyboardModifiers modifier : modifiers)
        QTest::keyClick(text, Qt::Key_Return, modifier);
    QTest::keyClick(text, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(text, Qt::Key_Space);

    QCOMPARE(fixture.log, QStringList(5, navigation(8, "http://one.revver.com/find/video/C%23")));
    QCOMPARE(text->text(), u"C# "_qs); // the keys still reach the box
}

void TestMultiSiteSearch::greyedBox_leavesItsSiteOut()
{
    const QByteArray settings = settingsWithSearchBoxes({2, 1, 2, 2, 2, 2, 2, 2, 2});
    WindowFixture fixture(&settings);
    fixture.find<QLineEdit>(u"Text1"_qs)->setText(u"Björk"_qs);
    QTest::keyClick(fixture.find<QLineEdit>(u"Text1"_qs), Qt::Key_Return);
    QCOMPARE(fixture.log,
             QStringList{navigation(1, "http://video.google.com/videosearch?q=Bj%C3%B6rk")});
    QCOMPARE(siteTabsAvailable(fixture.tabs()),
             (QList<bool>{false, true, false, false, false, false, false, false, false}));
}

void TestMultiSiteSearch::emptyText_loadsTheBarePrefixes()
{
    const QByteArray settings = settingsWithSearchBoxes(QList<int>(9, 1));
    WindowFixture fixture(&settings);
    QTest::keyClick(fixture.find<QLineEdit>(u"Text1"_qs), Qt::Key_Return);
    QCOMPARE(fixture.log,
             (QStringList{
                 navigation(0, "http://www.youtube.com/results?search_query="),
                 navigation(1, "http://video.google.com/videosearch?q="),
                 navigation(2, "http://video.search.yahoo.com/search/video?p="),
                 navigation(3, "http://video.aol.com/searchresults?invocationType=aolcomvideo&query="),
                 navigation(4, "http://searchservice.myspace.com/index.cfm?fuseaction=vids.fullsearch"
                               "&searchtarget=tvid&searchBoxID=HeaderWebResults&find=1&n=2&t="),
                 navigation(5, "http://www.metacafe.com/tags/"),
                 navigation(6, "http://www.dailymotion.com/visited/search/"),
                 navigation(7, "http://my.break.com/Media/Search.aspx?SearchString="),
                 navigation(8, "http://one.revver.com/find/video/")}));
    QCOMPARE(siteTabsAvailable(fixture.tabs()), QList<bool>(9, true));
}

void TestMultiSiteSearch::noBoxChecked_switchesEverySiteTabOffAndLoadsNothing()
{
    WindowFixture fixture; // no settings file: every box unchecked
    fixture.find<QLineEdit>(u"Text1"_qs)->setText(u"cats"_qs);
    QTest::mouseClick(fixture.find<QPushButton>(u"Command21"_qs), Qt::LeftButton);
    QCOMPARE(fixture.log, QStringList());
    QCOMPARE(siteTabsAvailable(fixture.tabs()), QList<bool>(9, false));
    // The dialog was loaded for the search, but not shown.
    QVERIFY(WindowFixture::optionsWindow());
    QVERIFY(!WindowFixture::optionsWindow()->isVisible());
}

void TestMultiSiteSearch::openDialog_itsUnsavedChoicesAreUsed()
{
    const QByteArray settings = settingsWithSearchBoxes({1, 0, 0, 0, 0, 0, 0, 0, 0});
    WindowFixture fixture(&settings);
    fixture.find<QAction>(u"Option1"_qs)->trigger();
    QWidget *dialog = WindowFixture::optionsWindow();
    dialog->findChild<QTabWidget *>(u"SSTab1"_qs)->setCurrentIndex(1);
    for (const int box : {9, 15}) { // YouTube off, DailyMotion on
        auto *check = dialog->findChild<SettingCheckBox *>(indexedName(u"Check1", box));
        QTest::mouseClick(check, Qt::LeftButton, {}, check->rect().center());
    }

    fixture.find<QLineEdit>(u"Text1"_qs)->setText(u"cats"_qs);
    QTest::mouseClick(fixture.find<QPushButton>(u"Command21"_qs), Qt::LeftButton);
    QCOMPARE(fixture.log,
             QStringList{navigation(6, "http://www.dailymotion.com/visited/search/cats")});
    QVERIFY(dialog->isVisible());
}

void TestMultiSiteSearch::selectedTab_isNeverChanged()
{
    const QByteArray settings = settingsWithSearchBoxes({0, 0, 0, 1, 0, 0, 0, 0, 0});
    WindowFixture fixture(&settings);
    QTabWidget *tabs = fixture.tabs();
    fixture.find<QLineEdit>(u"Text1"_qs)->setText(u"cats"_qs);

    for (const int selected : {11, 9, 10, 3, 6}) {
        tabs->setCurrentIndex(selected);
        QTest::mouseClick(fixture.find<QPushButton>(u"Command21"_qs), Qt::LeftButton);
        QCOMPARE(tabs->currentIndex(), selected);
        QCOMPARE(tabs->currentWidget(), tabs->widget(selected));
    }
    // Tab 6 was switched off while selected: it stays selected, greyed.
    QVERIFY(!tabs->isTabEnabled(6));
}

QTEST_MAIN(TestMultiSiteSearch)
#include "tst_multi_site_search.moc"
