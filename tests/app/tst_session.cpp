#include "files/data_file.h"
#include "results/results_tab.h"
#include "search/site_lineup.h"
#include "session/session_file.h"
#include "settings/options_dialog.h"
#include "support/window_fixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTabBar>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Unused = R"({"address":"","ended":0,"history":"","on":true})";

// A session: tab 1 in sight, sites 0 to 3 on, the first without a way back, HOME on its own page.
QByteArray sessionBytes(int endedOnTab1 = 0)
{
    return R"({"readings":[{"around links":true,"how":1,"results":[{"address":"https://v.example/1",)"
           R"("author":"Ann","length":"1:01","meta":"","page":"https://v.example/s","picture":"",)"
           R"("seconds":61,"title":"Cats"}],"site":1}],"search":"cats & dogs","tab":1,"views":[)"
           R"({"address":"https://a.example/","ended":0,"history":"","on":true},)"
           R"({"address":"https://b.example/?q=cats","ended":)" +
           QByteArray::number(endedOnTab1) +
           R"(,"history":"SDE=","on":true},)"
           R"({"address":"https://c.example/","ended":0,"history":"SDI=","on":true},)" +
           R"({"address":"https://d.example/","ended":0,"history":"","on":true},)" +
           (R"({"address":"","ended":0,"history":"","on":false},)"_ba).repeated(5) + Unused + "]}";
}

const QByteArray LastSession = "[start]\nshow=last session\n";

void clickTab(const WindowFixture &fixture, int tab)
{
    QTabBar *bar = fixture.tabs()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
}

} // namespace

class TestSession : public QObject
{
    Q_OBJECT

private slots:
    void file_isReadBack_andWrittenByteForByte()
    {
        const std::optional<SessionFile::Session> session = SessionFile::fromBytes(sessionBytes(1));
        QVERIFY(session);
        QCOMPARE(session->tab, 1);
        QCOMPARE(session->searchText, u"cats & dogs"_s);
        QCOMPARE(session->views[1], (SessionFile::View{u"https://b.example/?q=cats"_s, "H1", 1}));
        QCOMPARE(session->views[4].on, false);
        QCOMPARE(session->readings.size(), 1);
        QCOMPARE(session->readings[0].second.results[0].seconds, 61);
        QCOMPARE(SessionFile::toBytes(*session), sessionBytes(1));
    }

    // A file changed anywhere it must not be is no session at all.
    void damagedFile_isNoSession_data()
    {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::newRow("not JSON") << "{\"readings\""_ba
                                  << "{readings"_ba;
        QTest::newRow("a list") << "{\"readings\""_ba
                                << "[{\"readings\""_ba;
        QTest::newRow("tab beyond Results") << "\"tab\":1,"_ba
                                            << "\"tab\":13,"_ba;
        QTest::newRow("no tab") << "\"tab\":1,"_ba
                                << ""_ba;
        QTest::newRow("nine views") << Unused + "]"
                                    << "]"_ba;
        QTest::newRow("no such site") << "\"site\":1"_ba
                                      << "\"site\":9"_ba;
        QTest::newRow("no such reading") << "\"how\":1"_ba
                                         << "\"how\":4"_ba;
        QTest::newRow("a site twice") << "\"site\":1}"_ba
                                      << "\"site\":1},{\"how\":0,\"site\":1}"_ba;
    }
    void damagedFile_isNoSession()
    {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QVERIFY(SessionFile::fromBytes(sessionBytes()));
        QVERIFY(!SessionFile::fromBytes(QByteArray(sessionBytes()).replace(from, to)));
    }

    // Only pages of the web are opened again; a result keeps what its list may show.
    void whatIsNoWebPage_isDropped_data()
    {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<int>("kept");
        for (const QByteArray &address :
             {"file:///etc/passwd"_ba, "javascript:alert(1)"_ba, "http:///"_ba, "reelhop:home"_ba})
            QTest::newRow(address) << "https://a.example/"_ba << address << 0;
        QTest::newRow("result") << "https://v.example/1"_ba
                                << "file:///x"_ba << 1;
        QTest::newRow("picture") << R"("picture":"")"_ba
                                 << R"("picture":"file:///x")"_ba << 1;
        QTest::newRow("data picture") << R"("picture":"")"_ba
                                      << R"("picture":"data:image/png;base64,AA==")"_ba << -1;
    }
    void whatIsNoWebPage_isDropped()
    {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(int, kept);
        const auto session = SessionFile::fromBytes(QByteArray(sessionBytes()).replace(from, to));
        QVERIFY(session);
        if (kept == 0)
            QCOMPARE(session->views[0], (SessionFile::View{}));
        QCOMPARE(session->readings[0].second.results.size(), kept == 1 ? 0 : 1);
    }

    void lastSession_opensTheTabInSight_andEachOtherWhenFirstShown()
    {
        WindowFixture fixture(
            {{u"reelhop.ini"_s, LastSession}, {u"session.json"_s, sessionBytes()}});
        QCOMPARE(fixture.startUpLog,
                 QStringList{u"WebBrowser1(1) restoreHistory H1 https://b.example/?q=cats"_s});
        QCOMPARE(fixture.tabs()->currentIndex(), 1);
        QCOMPARE(fixture.availableTabs(), u"111100000111"_s);
        QCOMPARE(fixture.find<QLineEdit>(u"Text1"_s)->text(), u"cats & dogs"_s);
        QCOMPARE(fixture.window->findChild<ResultsTab *>()->readings(),
                 SessionFile::fromBytes(sessionBytes())->readings);

        fixture.view(2)->report(BrowserView::LoadState::Loading, 0); // a search sent it elsewhere
        auto *lineup = fixture.window->findChild<SiteLineup *>();
        SiteCatalogue::Lineup before = lineup->sites();
        before[3].startPage = u"https://old.example/"_s; // the fourth tab had another site
        emit lineup->changed(before);
        for (const int tab : {2, 0, 11, 3, 1, 0})
            clickTab(fixture, tab);
        QCOMPARE(fixture.log,
                 (QStringList{u"WebBrowser1(0) navigate https://a.example/"_s,
                              u"WebBrowser1(9) showPage reelhop:home"_s,
                              u"WebBrowser1(3) navigate "_s + lineup->sites()[3].startPage}));
    }

    // HOME is in sight when the window is made: its page opens without a change of tab.
    void sessionOnHome_opensHomesPage()
    {
        const QByteArray onHome =
            QByteArray(sessionBytes())
                .replace("\"tab\":1,", "\"tab\":11,")
                .replace(Unused, QByteArray(Unused).replace(
                                     "\"address\":\"\"", "\"address\":\"https://home.example/\""));
        WindowFixture fixture({{u"reelhop.ini"_s, LastSession}, {u"session.json"_s, onHome}});
        QCOMPARE(fixture.startUpLog,
                 QStringList{u"WebBrowser1(9) navigate https://home.example/"_s});
    }

    void pageWhoseProcessEndedTwice_isNotOpenedAgain()
    {
        WindowFixture fixture(
            {{u"reelhop.ini"_s, LastSession}, {u"session.json"_s, sessionBytes(2)}});
        QCOMPARE(fixture.startUpLog.size(), 1);
        QVERIFY(fixture.startUpLog[0].startsWith(u"WebBrowser1(1) navigate https://"_s));
        QVERIFY(!fixture.startUpLog[0].contains(u"b.example"_s));
        QVERIFY2(fixture.status().contains(u"https://b.example/?q=cats was not opened again"_s),
                 qPrintable(fixture.status()));
    }

    // Without the choice the start is the usual one, and the session is kept all the same.
    void eachChangeIsKept_whateverTheStart()
    {
        const WindowFixture usual;
        WindowFixture fixture({{u"session.json"_s, sessionBytes()}});
        QCOMPARE(fixture.startUpLog, usual.startUpLog);
        fixture.view(4)->location = u"https://e.example/"_s;
        fixture.view(4)->history = "H4";
        emit fixture.view(4)->processEnded();
        fixture.view(4)->report(BrowserView::LoadState::Loading, 10);
        const auto kept = [&] {
            return SessionFile::fromBytes(fixture.fileBytes(u"session.json"_s))
                .value_or(SessionFile::Session{})
                .views[4];
        };
        const bool on = fixture.tabs()->isTabEnabled(4);
        QTRY_COMPARE_WITH_TIMEOUT(kept(), (SessionFile::View{u"https://e.example/"_s, "H4", 1, on}),
                                  30000);
        fixture.view(4)->report(BrowserView::LoadState::Loaded, 100);
        QTRY_COMPARE_WITH_TIMEOUT(kept().endedProcesses, 0, 30000);
    }

    // Kept aside under a name no file has yet: one put aside at an earlier start stays as it was.
    void unreadableSession_isKeptAside_andTheStartPagesShow_data()
    {
        QTest::addColumn<QStringList>("earlier");
        QTest::addColumn<QString>("aside");
        const QString unread = u"session.json.unread"_s;
        QTest::newRow("first") << QStringList{} << unread;
        QTest::newRow("second") << QStringList{unread} << unread + u"-2"_s;
        QTest::newRow("third") << QStringList{unread, unread + u"-2"_s} << unread + u"-3"_s;
    }

    void unreadableSession_isKeptAside_andTheStartPagesShow()
    {
        QFETCH(QStringList, earlier);
        QFETCH(QString, aside);
        const WindowFixture usual;
        QList<std::pair<QString, QByteArray>> files{{u"reelhop.ini"_s, LastSession},
                                                    {u"session.json"_s, "{\"tab\""}};
        for (const QString &name : earlier)
            files.append({name, name.toUtf8()});
        WindowFixture fixture(files);
        QCOMPARE(fixture.startUpLog, usual.startUpLog);
        QCOMPARE(fixture.fileBytes(aside), "{\"tab\""_ba);
        for (const QString &name : earlier)
            QCOMPARE(fixture.fileBytes(name), name.toUtf8());
        QVERIFY2(fixture.status().contains(u"it is damaged"_s), qPrintable(fixture.status()));
        QVERIFY(fixture.status().contains(fixture.filePath(aside)));
    }

    void startChoice_rewritesOnlyItsLine_andOnlyWhenChanged()
    {
        WindowFixture fixture;
        fixture.find<QAction>(u"Option1"_s)->trigger();
        fixture.click(&fixture.window->options(), u"Command1"_s);
        QCOMPARE(fixture.fileBytes(u"reelhop.ini"_s), "(no file)"_ba);

        const QByteArray mine = "# mine\n[memory saver]\nenabled=false\n";
        QVERIFY(DataFile::write(fixture.filePath(u"reelhop.ini"_s), mine));
        fixture.find<QAction>(u"Option1"_s)->trigger();
        auto *choice = fixture.window->options().findChild<QComboBox *>(u"startChoice"_s);
        QTest::keyClick(choice, Qt::Key_Down);
        fixture.click(&fixture.window->options(), u"Command1"_s);
        QCOMPARE(fixture.fileBytes(u"reelhop.ini"_s), mine + "\n[start]\nshow=last session\n");
    }
};

QTEST_MAIN(TestSession)
#include "tst_session.moc"
