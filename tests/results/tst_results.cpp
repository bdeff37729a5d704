#include "blocking/request_policy.h"
#include "results/page_reading.h"
#include "results/result_list.h"
#include "results/results_tab.h"
#include "results/thumbnails.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QNetworkProxy>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

// What the reader hands over for a page: each video as "title|length".
QVariantMap answer(const QStringList &videos, const QString &how = u"rule"_s)
{
    QVariantList results;
    for (const QString &video : videos) {
        const QString title = video.section(u'|', 0, 0);
        results.append(
            QVariantMap{{u"title"_s, title},
                        {u"link"_s, u"https://v.example/"_s + title.toLower().remove(u' ')},
                        {u"length"_s, video.section(u'|', 1)}});
    }
    return {{u"how"_s, how}, {u"results"_s, results}, {u"changes"_s, 3}};
}

QStringList rows(const QListView *list)
{
    QStringList titles;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        titles.append(list->model()->index(row, 0).data().toString());
    return titles;
}

} // namespace

class TestResults : public QObject
{
    Q_OBJECT

private slots:
    void merge_takesOneVideoOnceAndKeepsApartWhatDiffers_data()
    {
        QTest::addColumn<QString>("first");  // "title|seconds" on site 0
        QTest::addColumn<QString>("second"); // and on site 1
        QTest::addColumn<bool>("same");
        QTest::newRow("case and marks") << u"Cats & Dogs!|60"_s << u"cats dogs|60"_s << true;
        QTest::newRow("letters beyond ASCII") << u"CAFÉ Öl|60"_s << u"café öl|60"_s << true;
        QTest::newRow("digits tell apart") << u"Part 1|60"_s << u"Part 2|60"_s << false;
        QTest::newRow("lengths tell apart") << u"Cats|60"_s << u"Cats|61"_s << false;
        QTest::newRow("no length, and one") << u"Cats|-1"_s << u"Cats|60"_s << false;
        QTest::newRow("no letters or digits") << u"🔥 🎸|-1"_s << u"🐈!|-1"_s << false;
    }

    void merge_takesOneVideoOnceAndKeepsApartWhatDiffers()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, same);
        const auto video = [](const QString &shown) {
            VideoResult result;
            result.title = shown.section(u'|', 0, 0);
            result.seconds = shown.section(u'|', 1).toInt();
            result.address =
                u"https://v.example/"_s + QString::fromLatin1(QUrl::toPercentEncoding(shown));
            return result;
        };
        // A page that shows a video twice lists it once too.
        const QList<ListedVideo> merged =
            ResultList::merge({{0, {video(first), video(first)}}, {1, {video(second)}}});
        QCOMPARE(merged.size(), same ? 1 : 2);
        QCOMPARE(merged[0].sites, same ? (QList<int>{0, 1}) : QList<int>{0});
    }

    // The Sites window says of each site searched how its page was read.
    void readings_sayHowEachSearchedSitesPageWasRead()
    {
        QList<int> boxes(18, 0);
        for (int site = 0; site < 7; ++site)
            boxes[SiteCatalogue::searchBox(site)] = 1;
        // YouTube (0) and Google (1) have rules of their own; Yahoo (2), the user's sites (4 and
        // 5) and Dailymotion (6) none; AOL (3) has closed.
        QByteArray sites;
        for (const char *site : {"5", "6"})
            sites += "[site"_ba + site + "]\nname=S" + site + "\nstart=https://s" + site +
                     ".example/\nsearch=https://s" + site + ".example/?q=%s\n";
        WindowFixture fixture({{u"svng.msf"_s, settingsBytes(boxes)}, {u"sites.ini"_s, sites}});
        QTest::keyClicks(fixture.find<QLineEdit>(u"Text1"_s), u"cats"_s);
        fixture.click(u"Command21"_s);
        const std::map<int, std::pair<QStringList, QString>> read{
            {0, {{u"A|1:00"_s, u"B|2:00"_s}, u"rule, its item bypassed"_s}},
            {1, {{u"A|1:00"_s}, u"shape"_s}},
            {2, {{u"A|1:00"_s}, u"shape"_s}},
            {4, {{u"A|1:00"_s}, u"data"_s}},
            {5, {{}, u"shape"_s}}};
        for (const auto &[site, reading] : read) {
            QVariantMap given = answer(reading.first, reading.second.section(u',', 0, 0));
            given.insert(u"itemBypassed"_s, reading.second.endsWith(u"bypassed"_s));
            emit fixture.view(site)->resultsRead(given, true);
        }
        const auto summaries = fixture.find<ResultsTab>(u"Results"_s)->readingSummaries();
        QCOMPARE(QStringList(summaries.begin(), summaries.end()),
                 (QStringList{
                     u"read 2 results around the rule's links: its item matched fewer"_s,
                     u"the rule read nothing: read 1 by shape"_s, u"no rule: read 1 by shape"_s,
                     QString(), u"read 1 results from the page's data"_s,
                     u"read nothing: open the tab"_s, u"reading\u2026"_s, QString(), QString()}));
    }

    void resultsTab_listsChosenSitesInTurns_sameVideoOnce_bySiteAndLength_opensInItsTab()
    {
        // Searched: YouTube (0), Google (1) and the user's Alpha (3), with a rule of its own.
        QList<int> boxes(18, 0);
        for (const int site : {0, 1, 3})
            boxes[SiteCatalogue::searchBox(site)] = 1;
        WindowFixture fixture({{u"svng.msf"_s, settingsBytes(boxes)},
                               {u"sites.ini"_s, "[site4]\nname=Alpha\nsearch=https://alpha.example/"
                                                "s?q=%s\nitem=li.result\ntitle=.name\n"},
                               {u"filters/mine.txt"_s, "||ads.test^\n"}},
                              [](const QDir &folder) { folder.mkdir(u"filters"_s); });
        fixture.showActive();
        QTest::keyClicks(fixture.find<QLineEdit>(u"Text1"_s), u"cats"_s);
        fixture.click(u"Command21"_s);
        // Each searched view reads by its rule: built in, the user's, none for the others.
        QVERIFY(fixture.view(0)->readerScript.contains(u"ytd-video-renderer"_s));
        QVERIFY(fixture.view(3)->readerScript.endsWith(
            u"{\"author\":\"\",\"image\":\"\",\"item\":\"li.result\",\"length\":\"\",\"link\":\"\","
            "\"meta\":\"\",\"page\":\"\",\"shapeOnly\":false,\"title\":\".name\"})"_s));
        QCOMPARE(fixture.view(2)->readerScript, QString());

        auto *list = fixture.find<QListView>(u"resultsList"_s);
        const auto button = [&fixture](int site) {
            return fixture.find<QToolButton>(indexedName(u"resultsSite", site));
        };
        emit fixture.view(0)->resultsRead(answer({u"A|1:00"_s, u"Shared|2:00"_s, u"C|10:00"_s}),
                                          false);
        QCOMPARE(button(0)->text(), u"YOUTUBE: 3, still loading"_s);
        emit fixture.view(0)->resultsRead(answer({}), false); // drawn anew: keeps what it read
        emit fixture.view(0)->resultsRead(answer({u"A|1:00"_s, u"Shared|2:00"_s, u"C|10:00"_s}),
                                          true);
        // A result that leads where the filter lists block a page is an ad; the lists are read in
        // a thread, slowly under the sanitizers on a busy machine.
        QTRY_VERIFY_WITH_TIMEOUT(
            !fixture.window->requestPolicy()
                 ->blockingRule(QUrl(u"https://ads.test/"_s), {}, Blocking::RequestType::Document)
                 .isEmpty(),
            60000);
        QVariantMap alpha = answer({u"shared!|2:00"_s, u"D|0:30"_s});
        alpha[u"results"_s] =
            alpha[u"results"_s].toList()
            << QVariantMap{{u"title"_s, u"Buy"_s}, {u"link"_s, u"https://ads.test/b"_s}};
        emit fixture.view(3)->resultsRead(alpha, true);
        fixture.view(1)->report(BrowserView::LoadState::Failed, 0, u"refused"_s);
        QCOMPARE(button(0)->text(), u"YOUTUBE: 3"_s);
        QCOMPARE(button(1)->text(), u"GOOGLE: failed"_s);
        QVERIFY(button(2)->isHidden());
        // In turns; the video both show, once, opening on the site that listed it first.
        QCOMPARE(rows(list), (QStringList{u"A"_s, u"shared!"_s, u"D"_s, u"C"_s}));
        QCOMPARE(list->model()->index(1, 0).data(Qt::UserRole + 3).toString(), u"Alpha, YOUTUBE"_s);

        QTest::mouseClick(button(3), Qt::LeftButton);
        QCOMPARE(rows(list), (QStringList{u"shared!"_s, u"D"_s}));
        QTest::mouseClick(button(3), Qt::LeftButton); // again: every site's
        QCOMPARE(rows(list), (QStringList{u"A"_s, u"shared!"_s, u"D"_s, u"C"_s}));
        auto *order = fixture.find<QComboBox>(u"resultsOrder"_s);
        // Each box of the row is named by the text before it, as the row is read.
        fixture.tabs()->setCurrentWidget(order->parentWidget());
        QTRY_VERIFY(order->isVisible());
        QMap<int, QString> row;
        for (const QWidget *control : order->parentWidget()->findChildren<QWidget *>())
            if (control->isVisible() && control->parentWidget() == order->parentWidget() &&
                qAbs(control->geometry().center().y() - order->geometry().center().y()) < 8) {
                const auto *label = qobject_cast<const QLabel *>(control);
                row.insert(control->x(), label ? label->text() : control->objectName());
            }
        QCOMPARE(row.values(),
                 (QStringList{u"Order:"_s, u"resultsOrder"_s, u"Length at least"_s,
                              u"resultsShortest"_s, u"at most"_s, u"resultsLongest"_s}));
        QTest::keyClick(order, Qt::Key_Down);
        QTest::keyClick(order, Qt::Key_Down);
        QCOMPARE(rows(list), (QStringList{u"C"_s, u"shared!"_s, u"A"_s, u"D"_s}));
        QTest::keyClick(fixture.find<QSpinBox>(u"resultsShortest"_s), Qt::Key_Up); // 1 min
        auto *longest = fixture.find<QSpinBox>(u"resultsLongest"_s);
        QTest::keyClick(longest, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(longest, u"5"_s);
        QCOMPARE(rows(list), (QStringList{u"shared!"_s, u"A"_s}));

        // The Sites window tells what each rule read.
        fixture.find<QAction>(u"sites"_s)->trigger();
        QWidget *sites = WindowFixture::topLevel(u"Sites", WindowFixture::Shown::Only);
        const auto reading = [sites](int site) {
            return sites->findChild<QLabel *>(indexedName(u"reading", site))->text();
        };
        QCOMPARE(reading(0), u"read 3 results"_s);
        QCOMPARE(reading(1), u"its page failed to load"_s);
        QCOMPARE(reading(2), QString());
        emit fixture.view(3)->resultsRead(answer({}), true);
        QCOMPARE(reading(3), u"read 2 results"_s); // settled already: a late answer changes nothing
        sites->close();

        // A click opens the video in its site's tab; so does Enter.
        fixture.find<QAction>(u"showResults"_s)->trigger();
        QCOMPARE(fixture.tabs()->currentWidget()->objectName(), u"Results"_s);
        fixture.log.clear();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(0, 0)).center());
        QCOMPARE(fixture.log, QStringList{u"WebBrowser1(3) navigate https://v.example/shared!"_s});
        QCOMPARE(fixture.tabs()->currentIndex(), 3);
        fixture.tabs()->setCurrentWidget(fixture.find<QWidget>(u"Results"_s));
        list->setCurrentIndex(list->model()->index(1, 0));
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(fixture.log.constLast(), u"WebBrowser1(0) navigate https://v.example/a"_s);
        // A middle click opens its menu: the player where there is one; the video can be kept,
        // or opened, though a reading has since put another in its row.
        QStringList offered;
        QTimer::singleShot(0, this, [&offered, &fixture] {
            emit fixture.view(1)->resultsRead(answer({u"Moved in|4:00"_s}), true);
            QWidget *menu = QApplication::activePopupWidget();
            for (QAction *action : menu->actions()) {
                offered.append(action->text());
                if (action->text() == u"Add to Favorites" || action->text() == u"Open in Its Tab")
                    action->trigger();
            }
            menu->close();
        });
        QTest::mouseClick(list->viewport(), Qt::MiddleButton, {},
                          list->visualRect(list->model()->index(0, 0)).center());
        QStringList expected{u"Open in Its Tab"_s, u"Add to Favorites"_s};
        if (fixture.window->findChild<QAction *>(u"playPage"_s))
            expected.insert(1, u"Play in Video Player"_s);
        QCOMPARE(offered, expected);
        QCOMPARE(fixture.find<QTreeWidget>(u"ListView4"_s)->topLevelItem(0)->text(1),
                 u"https://v.example/shared!"_s);
        QCOMPARE(fixture.log.constLast(), u"WebBrowser1(3) navigate https://v.example/shared!"_s);
        QCOMPARE(rows(list).constFirst(), u"Moved in"_s);

        // A new search empties the list and lists every site's again; sites whose pages show
        // nothing say so.
        QTest::mouseClick(button(3), Qt::LeftButton);
        fixture.click(u"Command21"_s);
        QCOMPARE(rows(list), QStringList());
        QVERIFY(fixture.find<QToolButton>(u"resultsAll"_s)->isChecked());
        QCOMPARE(button(0)->text(), u"YOUTUBE: loading"_s);
        emit fixture.view(3)->resultsRead(answer({}), true);
        QCOMPARE(button(3)->text(), u"Alpha: read nothing"_s);
        // A consent page answered in the tab: the results page that follows is read.
        emit fixture.view(3)->resultsRead(answer({u"E|2:00"_s}), true);
        QCOMPARE(button(3)->text(), u"Alpha: 1"_s);
        QCOMPARE(rows(list), QStringList{u"E"_s});
    }

    void thumbnails_fetchedOnceDrawn_neverOnThisNetworkForAVideoElsewhere()
    {
        // A picture server that is also the proxy for every other host, keeping what it is asked.
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImage(160, 90, QImage::Format_RGB32).save(&buffer, "PNG");
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        const QString here = u"http://127.0.0.1:%1"_s.arg(server.serverPort());
        QStringList asked;
        connect(&server, &QTcpServer::newConnection, this, [&] {
            QTcpSocket *socket = server.nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket, [&, socket] {
                const QString target = QString::fromLatin1(socket->readAll().split(' ').value(1));
                asked.append(QUrl(target).path());
                const QByteArray moved = "Location: " + here.toLatin1() + "/inside.png\r\n";
                socket->write(target.contains(u"outside")
                                  ? "HTTP/1.1 302 Found\r\n" + moved + "Content-Length: 0\r\n\r\n"
                                  : "HTTP/1.1 200 OK\r\nContent-Length: " +
                                        QByteArray::number(png.size()) + "\r\n\r\n" + png);
                socket->disconnectFromHost();
            });
        });
        const QNetworkProxy proxy = QNetworkProxy::applicationProxy();
        QNetworkProxy::setApplicationProxy(
            {QNetworkProxy::HttpProxy, u"127.0.0.1"_s, server.serverPort()});

        // The list asks for a picture by the page that showed it, not by its video, whose
        // address is the page's to choose.
        QList<int> boxes(18, 0);
        boxes[SiteCatalogue::searchBox(0)] = 1;
        WindowFixture fixture({{u"svng.msf"_s, settingsBytes(boxes)}});
        fixture.click(u"Command21"_s);
        emit fixture.view(0)->resultsRead(
            QVariantMap{
                {u"how"_s, u"rule"_s},
                {u"results"_s, QVariantList{QVariantMap{{u"title"_s, u"Here"_s},
                                                        {u"link"_s, here + u"/v"_s},
                                                        {u"image"_s, here + u"/l.png"_s}}}}},
            true);
        QVERIFY(fixture.find<QListView>(u"resultsList"_s)
                    ->model()
                    ->index(0, 0)
                    .data(Qt::DecorationRole)
                    .value<QPixmap>()
                    .isNull());

        Thumbnails thumbnails;
        QSignalSpy arrived(&thumbnails, &Thumbnails::arrived);
        // Pictures of a video on the web: never from this machine, not even by a redirect.
        QVERIFY(thumbnails.picture(here + u"/a.png"_s, u"https://v.example/1"_s).isNull());
        QVERIFY(thumbnails.picture(u"http://pics.example/outside.png"_s, u"https://v.example/1"_s)
                    .isNull());
        // A video here: its picture is fetched once asked for, and kept.
        QVERIFY(thumbnails.picture(here + u"/t.png"_s, here + u"/v"_s).isNull());
        QTRY_COMPARE_WITH_TIMEOUT(arrived.size(), 2, 20000);
        const QSize shown = thumbnails.picture(here + u"/t.png"_s, here + u"/v"_s).size();
        QCOMPARE(shown, QSize(160, 90).scaled(Thumbnails::Size, Qt::KeepAspectRatio)); // kept small
        QVERIFY(thumbnails.picture(u"http://pics.example/outside.png"_s, u"https://v.example/1"_s)
                    .isNull());
        asked.sort();
        QCOMPARE(asked, (QStringList{u"/outside.png"_s, u"/t.png"_s}));
        // A picture in the page itself needs no fetch.
        QVERIFY(!thumbnails
                     .picture(u"data:image/png;base64,"_s + QString::fromLatin1(png.toBase64()),
                              u"https://v.example/1"_s)
                     .isNull());
        QNetworkProxy::setApplicationProxy(proxy);
    }

    // Taught in one click: the row's button, a click on one result of the tab's page, OK; the
    // next search reads by the rule derived. A move asks nothing; Cancel writes nothing.
    void teaching_writesTheRuleOfTheResultClicked_onOk()
    {
        QList<int> boxes(18, 0);
        boxes[SiteCatalogue::searchBox(3)] = 1;
        const QByteArray sites(
            "; mine\n[site4]\nname=Alpha\nsearch=https://alpha.example/s?q=%s\n");
        WindowFixture fixture({{u"svng.msf"_s, settingsBytes(boxes)}, {u"sites.ini"_s, sites}});
        fixture.showActive();
        fixture.click(u"Command21"_s);
        QVariantMap picked = answer({u"A|1:00"_s, u"B|2:00"_s, u"C|3:00"_s});
        picked.insert(u"rule"_s, QVariantMap{{u"item"_s, u"li.clip"_s},
                                             {u"link"_s, u"li.clip a.go"_s},
                                             {u"title"_s, u"b"_s},
                                             {u"author"_s, u"i\n[site1]"_s}});
        for (const bool ok : {false, true}) {
            fixture.tabs()->setCurrentIndex(0);
            fixture.find<QAction>(u"sites"_s)->trigger();
            QWidget *window = WindowFixture::topLevel(u"Sites", WindowFixture::Shown::Only);
            QVERIFY(!window->findChild<QWidget *>(u"teach(4)"_s)->isEnabled()); // closed
            WindowFixture::click(window, u"teach(3)"_s);
            QCOMPARE(fixture.tabs()->currentIndex(), 3);
            QCOMPARE(fixture.log.constLast(), u"WebBrowser1(3) pointAtPage"_s);
            QVERIFY2(fixture.status().contains(u"Click one result on Alpha's page"_s),
                     qPrintable(fixture.status()));
            emit fixture.view(3)->pagePointed(picked, false);
            QCOMPARE(WindowFixture::topLevel(u"teachResults", WindowFixture::Shown::Only), nullptr);
            emit fixture.view(3)->pagePointed(picked, true);
            auto *question = qobject_cast<QMessageBox *>(
                WindowFixture::topLevel(u"teachResults", WindowFixture::Shown::Only));
            QVERIFY(question);
            QCOMPARE(question->text(), u"3 results: Title and length found"_s);
            QTest::mouseClick(question->button(ok ? QMessageBox::Ok : QMessageBox::Cancel),
                              Qt::LeftButton);
            QCOMPARE(fixture.log.constLast(), u"WebBrowser1(3) endPointing"_s);
            QCOMPARE(fixture.fileBytes(u"sites.ini"_s),
                     ok ? sites + "item=li.clip\ntitle=b\nlink=li.clip a.go\n" : sites);
            window->close();
        }
        fixture.click(u"Command21"_s);
        QVERIFY(fixture.view(3)->readerScript.contains(u"\"item\":\"li.clip\""_s));
        // The page's menu offers it on the sites' tabs, not on HOME.
        QVERIFY(fixture.view(0)->teachingOffered && !fixture.view(9)->teachingOffered);
    }

    void pageReading_keepsWebAddressesAndPlainBoundedText_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("given");
        QTest::addColumn<QString>("kept");
        const QString longAddress = u"https://v.example/"_s + QString(2000, u'x');
        QTest::newRow("markup stays text")
            << u"title"_s << QVariant(u"<b>x</b>"_s) << u"<b>x</b>"_s;
        QTest::newRow("controls and blanks")
            << u"title"_s << QVariant(u" a\u0007\u202e b\n"_s) << u"a b"_s;
        QTest::newRow("no text") << u"title"_s << QVariant(12) << u"(none)"_s;
        QTest::newRow("script address")
            << u"link"_s << QVariant(u"javascript:alert(1)"_s) << u"(none)"_s;
        QTest::newRow("ftp") << u"link"_s << QVariant(u"ftp://v.example/a"_s) << u"(none)"_s;
        QTest::newRow("too long") << u"link"_s << QVariant(longAddress) << u"(none)"_s;
        QTest::newRow("page as thumbnail")
            << u"image"_s << QVariant(u"data:text/html,<script>"_s) << QString();
        QTest::newRow("picture as thumbnail")
            << u"image"_s << QVariant(u"data:image/png;base64,AAAA"_s)
            << u"data:image/png;base64,AAAA"_s;
        QTest::newRow("file as thumbnail")
            << u"image"_s << QVariant(u"file:///etc/passwd"_s) << QString();
        QTest::newRow("clock") << u"length"_s << QVariant(u" 1:02:03 "_s) << u"1:02:03"_s;
        QTest::newRow("with a word") << u"length"_s << QVariant(u"Live 4:05"_s) << u"4:05"_s;
        QTest::newRow("ISO") << u"length"_s << QVariant(u"PT1M5S"_s) << u"1:05"_s;
        QTest::newRow("seconds") << u"length"_s << QVariant(u"75"_s) << u"1:15"_s;
        QTest::newRow("no length") << u"length"_s << QVariant(u"soon"_s) << u"soon"_s;
        QTest::newRow("a year") << u"length"_s << QVariant(u"PT9000H"_s) << u"PT9000H"_s;
    }

    void pageReading_keepsWebAddressesAndPlainBoundedText()
    {
        QFETCH(QString, field);
        QFETCH(QVariant, given);
        QFETCH(QString, kept);
        QVariantMap result{
            {u"title"_s, u"t"_s}, {u"link"_s, u"https://v.example/1"_s}, {u"length"_s, u"1:00"_s}};
        result.insert(field, given);
        const PageReading reading = PageReadings::fromAnswer(
            QVariantMap{{u"how"_s, u"shape"_s}, {u"results"_s, QVariantList{result}}});
        if (kept == u"(none)") {
            QCOMPARE(reading.results.size(), 0);
            return;
        }
        QCOMPARE(reading.results.size(), 1);
        const VideoResult &video = reading.results.constFirst();
        const QString actual = field == u"title"   ? video.title
                               : field == u"link"  ? video.address
                               : field == u"image" ? video.thumbnail
                                                   : video.length;
        QCOMPARE(actual, kept);
    }
};

QTEST_MAIN(TestResults)
#include "tst_results.moc"
