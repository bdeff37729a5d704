#include "form/control_names.h"
#include "settings/options_dialog.h"
#include "settings/setting_check_box.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Settings whose search boxes hold the given states; the start-up boxes are all checked.
QByteArray settingsWithSearchBoxes(const QList<int> &searchStates)
{
    QByteArray bytes = QByteArray(" 1 \r\n").repeated(9);
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
    void search_loadsEncodedResultsInExactlyTheCheckedSites();
    void emptyText_loadsTheBarePrefixes_noBoxLoadsNothing();
    void openDialog_itsUnsavedChoicesAreUsed();
};

void TestMultiSiteSearch::search_loadsEncodedResultsInExactlyTheCheckedSites()
{
    // Greyed boxes (sites 0 and 3) leave their sites out like unchecked ones.
    const QByteArray settings = settingsWithSearchBoxes({2, 0, 1, 2, 0, 1, 0, 0, 0});
    WindowFixture fixture(&settings);
    QTabWidget *tabs = fixture.tabs();
    // All site tabs go off first, then each checked site's tab comes on just before it loads.
    QList<QList<bool>> availableAtNavigation;
    for (const int site : {2, 5})
        fixture.view(site)->onNavigate = [&] {
            availableAtNavigation.append(siteTabsAvailable(tabs));
        };

    auto *text = fixture.find<QLineEdit>(u"Text1"_qs);
    QTest::keyClicks(text, u"rock & roll"_qs);
    QTest::mouseClick(fixture.find<QPushButton>(u"Command21"_qs), Qt::LeftButton);
    QCOMPARE(fixture.log,
             (QStringList{
                 navigation(2, "http://video.search.yahoo.com/search/video?p=rock%20%26%20roll"),
                 navigation(5, "http://www.metacafe.com/tags/rock%20%26%20roll")}));
    const QList<bool> off(9, false);
    QList<bool> twoOn = off, twoAndFiveOn = off;
    twoOn[2] = twoAndFiveOn[2] = twoAndFiveOn[5] = true;
    QCOMPARE(availableAtNavigation, (QList<QList<bool>>{twoOn, twoAndFiveOn}));
    QCOMPARE(siteTabsAvailable(tabs), twoAndFiveOn);
    QVERIFY(tabs->isTabEnabled(9) && tabs->isTabEnabled(10) && tabs->isTabEnabled(11));
    QCOMPARE(tabs->currentIndex(), 11);

    // Enter with any modifier searches as the button does, with the text read anew; the keys
    // still reach the box, and the selected tab stays, even one the search switches off.
    fixture.log.clear();
    text->setText(u"AC/DC"_qs);
    tabs->setCurrentIndex(6);
    for (const auto modifier :
         {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier})
        QTest::keyClick(text, Qt::Key_Return, modifier);
    QTest::keyClick(text, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(fixture.log.size(), 10);
    QCOMPARE(fixture.log.last(), navigation(5, "http://www.metacafe.com/tags/AC%2FDC"));
    QCOMPARE(tabs->currentIndex(), 6);
    QCOMPARE(tabs->currentWidget(), tabs->widget(6));
    QVERIFY(!tabs->isTabEnabled(6));
    QTest::keyClick(text, Qt::Key_Exclam);
    QCOMPARE(text->text(), u"AC/DC!"_qs);
}

void TestMultiSiteSearch::emptyText_loadsTheBarePrefixes_noBoxLoadsNothing()
{
    const QByteArray settings = settingsWithSearchBoxes(QList<int>(9, 1));
    WindowFixture all(&settings);
    QTest::keyClick(all.find<QLineEdit>(u"Text1"_qs), Qt::Key_Return);
    QCOMPARE(all.log.size(), 9);
    QCOMPARE(all.log[3],
             navigation(3, "http://video.aol.com/searchresults?invocationType=aolcomvideo&query="));
    QCOMPARE(all.log[8], navigation(8, "http://one.revver.com/find/video/"));
    QCOMPARE(siteTabsAvailable(all.tabs()), QList<bool>(9, true));

    WindowFixture none; // no settings file: every box unchecked
    none.find<QLineEdit>(u"Text1"_qs)->setText(u"cats"_qs);
    QTest::mouseClick(none.find<QPushButton>(u"Command21"_qs), Qt::LeftButton);
    QCOMPARE(none.log, QStringList());
    QCOMPARE(siteTabsAvailable(none.tabs()), QList<bool>(9, false));
    // The options were loaded for the search, but not shown.
    QVERIFY(!none.window->options().isVisible());
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

    fixture.find<QLineEdit>(u"Text1"_qs)->setText(u"Björk"_qs);
    QTest::mouseClick(fixture.find<QPushButton>(u"Command21"_qs), Qt::LeftButton);
    QCOMPARE(fixture.log,
             QStringList{navigation(6, "http://www.dailymotion.com/visited/search/Bj%C3%B6rk")});
    QVERIFY(dialog->isVisible());
}

QTEST_MAIN(TestMultiSiteSearch)
#include "tst_multi_site_search.moc"
