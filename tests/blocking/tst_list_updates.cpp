#include "blocking/blocker.h"
#include "blocking/list_check.h"
#include "blocking/list_sources.h"
#include "settings/blocking_window.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using Blocking::RequestType;

namespace {

const QByteArray OldList = "[Adblock Plus 2.0]\n! Title: EasyList\n! Expires: 6 days\n"
                           "||old.test^\n||a.test^\n||b.test^\n||c.test^\n##.banner\n";
const QByteArray FreshList = "[Adblock Plus 2.0]\n! Title: EasyList\n! Expires: 4 days\n"
                             "||fresh.test^\n||a.test^\n||b.test^\n||c.test^\n";

// Answers each path with its bytes as a page, or closes the connection at once.
class ListServer final : public QTcpServer
{
public:
    QHash<QByteArray, QByteArray> answers; // by path; no entry: a 404
    QSet<QByteArray> closing;
    QList<QByteArray> asked;

    ListServer()
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            QTcpSocket *socket = nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                const QByteArray request = socket->readAll();
                const QByteArray path = request.split(' ').value(1);
                asked.append(request);
                if (closing.contains(path)) {
                    socket->abort();
                    return;
                }
                const bool found = answers.contains(path);
                const QByteArray body = answers.value(path, "not here");
                socket->write(
                    QByteArray(found ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n") +
                    "Content-Length: " + QByteArray::number(body.size()) +
                    "\r\nConnection: close\r\n\r\n" + body);
                socket->disconnectFromHost();
            });
        });
    }
    QByteArray address(const char *path) const
    {
        return "http://127.0.0.1:" + QByteArray::number(serverPort()) + path;
    }
};

void write(const QString &path, const QByteArray &bytes)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
}

} // namespace

// Fresh copies of the installed lists: fetched when the copy in use is stale, kept only when they
// are filter lists, and in use once read whole.
class ListUpdatesTest : public QObject
{
    Q_OBJECT

private slots:
    void freshFor_takesTheListsWord_data()
    {
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<qint64>("hours");
        QTest::newRow("days") << QByteArray("[Adblock Plus 2.0]\n! Expires: 6 days (update)\n")
                              << qint64(144);
        QTest::newRow("hours") << QByteArray("! Title: x\n! Expires: 12 hours\n") << qint64(12);
        QTest::newRow("none") << QByteArray("! Title: x\n||a.test^\n") << qint64(120);
        QTest::newRow("too short") << QByteArray("! Expires: 0 hours\n") << qint64(1);
        QTest::newRow("too long") << QByteArray("! Expires: 400 days\n") << qint64(720);
    }

    void freshFor_takesTheListsWord()
    {
        QFETCH(QByteArray, header);
        QFETCH(qint64, hours);
        QCOMPARE(
            std::chrono::duration_cast<std::chrono::hours>(ListCheck::freshFor(header)).count(),
            hours);
    }

    void sources_areTheListsOwnAddressesThenMirrors()
    {
        const auto sources = ListSources::fromAssets(
            "{\"easylist\": {\"content\": \"filters\", \"title\": \"EasyList\", \"contentURL\": "
            "[\"https://a.example/easylist.txt\", \"assets/thirdparties/easylist/easylist.txt\"],"
            " \"cdnURLs\": [\"http://plain.example/e.txt\", \"https://b.example/e.txt\"]},"
            " \"lists\": {\"content\": \"internal\", \"contentURL\": \"assets/assets.json\"},"
            " \"remote\": {\"content\": \"filters\", \"contentURL\": "
            "\"https://c.example/r.txt\"}}");
        QCOMPARE(sources.keys(), QStringList{u"easylist.txt"_s});
        QCOMPARE(sources.value(u"easylist.txt"_s),
                 (ListSources::Source{u"EasyList"_s,
                                      {QUrl(u"https://a.example/easylist.txt"_s),
                                       QUrl(u"https://b.example/e.txt"_s)}}));
    }

    // What the stand-in answers, at the list's address and then at its mirror; what is on disk
    // and what is blocked after.
    void staleList_isFetched_andKeptOnlyWhenItIsAFilterList_data()
    {
        QTest::addColumn<QByteArray>("first");  // the answer at the list's address
        QTest::addColumn<QByteArray>("mirror"); // at its mirror
        QTest::addColumn<bool>("renewed");
        QTest::addColumn<QString>("trouble");
        QTest::newRow("fresh") << FreshList << QByteArray() << true << QString();
        QTest::newRow("a mirror after a 404")
            << QByteArray("(404)") << FreshList << true << QString();
        QTest::newRow("a captive portal's page")
            << QByteArray("<html><body>Sign in to the Wi-Fi</body></html>") << QByteArray("(404)")
            << false << u"EasyList: the update was not a filter list; the copy of "_s;
        QTest::newRow("truncated")
            << QByteArray("[Adblock Plus 2.0]\n||a.test^\n") << QByteArray("(close)") << false
            << u"EasyList: the update held less than half the rules"_s;
        QTest::newRow("cut short, the mirror's too")
            << QByteArray("[Adblock Plus 2.0]\n||a.test^\n") << QByteArray("! Title: x\n||a^\n")
            << false << u"EasyList: the update held less than half the rules; the copy of "_s;
        QTest::newRow("a list with a NUL")
            << QByteArray("! x\n||a.test^\n\0\n", 16) << QByteArray("(404)") << false
            << u"EasyList: the update was not a filter list"_s;
        QTest::newRow("offline") << QByteArray("(close)") << QByteArray("(close)") << false
                                 << u"Not reached: EasyList ("_s;
    }

    void staleList_isFetched_andKeptOnlyWhenItIsAFilterList()
    {
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, mirror);
        QFETCH(bool, renewed);
        QFETCH(QString, trouble);
        ListServer server;
        for (const auto &[path, answer] :
             {std::pair{"/easylist.txt", first}, {"/mirror.txt", mirror}})
            if (answer == "(close)")
                server.closing.insert(path);
            else if (answer != "(404)" && !answer.isEmpty())
                server.answers.insert(path, answer);
        QTemporaryDir package;
        QTemporaryDir data;
        const QString installed = package.filePath(u"assets/thirdparties/easylist/easylist.txt"_s);
        write(installed, OldList);
        write(package.filePath(u"assets/assets.json"_s),
              "{\"easylist\": {\"content\": \"filters\", \"title\": \"EasyList\", \"contentURL\": "
              "[\"" +
                  server.address("/easylist.txt") +
                  "\", \"assets/thirdparties/easylist/easylist.txt\"], \"cdnURLs\": [\"" +
                  server.address("/mirror.txt") + "\"]}}");
        // Ten days old, four more than it stays fresh.
        QFile old(installed);
        QVERIFY(old.open(QIODevice::ReadWrite));
        QVERIFY(old.setFileTime(QDateTime::currentDateTime().addDays(-10),
                                QFileDevice::FileModificationTime));
        old.close();

        Blocker blocker(data.path(), {package.path()});
        QSignalSpy done(&blocker, &Blocker::updatesDone);
        QSignalSpy loaded(&blocker, &Blocker::listsLoaded);
        blocker.loadLists();
        QVERIFY(done.wait(60000));
        const QString fresh = data.filePath(u"lists/easylist.txt"_s);
        QCOMPARE(bytesOf(fresh), renewed ? FreshList : QByteArray("(no file)"));
        QCOMPARE(bytesOf(installed), OldList);
        if (renewed)
            QTRY_COMPARE_WITH_TIMEOUT(loaded.size(), 2, 30000);
        const QUrl page(u"https://videos.example/"_s);
        QCOMPARE(blocker.blockingRule(QUrl(u"https://fresh.test/a"_s), page, RequestType::Script)
                     .isEmpty(),
                 !renewed);
        QCOMPARE(blocker.blockingRule(QUrl(u"https://old.test/a"_s), page, RequestType::Script)
                     .isEmpty(),
                 renewed);
        QCOMPARE(blocker.updateTroubles().size(), renewed ? 0 : 1);
        if (!renewed)
            QVERIFY2(blocker.updateTroubles().constFirst().startsWith(trouble),
                     qPrintable(blocker.updateTroubles().constFirst()));
        // No cookie goes out.
        for (const QByteArray &request : std::as_const(server.asked))
            QVERIFY(!request.toLower().contains("\ncookie:"));
    }

    // Off, nothing is fetched by itself; Update Now fetches all the same, and the choice is saved.
    void updatesOff_fetchOnlyWhenAsked()
    {
        ListServer server;
        server.answers.insert("/easylist.txt", FreshList);
        QTemporaryDir package;
        QTemporaryDir data;
        write(package.filePath(u"assets/thirdparties/easylist/easylist.txt"_s), OldList);
        write(package.filePath(u"assets/assets.json"_s),
              "{\"easylist\": {\"content\": \"filters\", \"contentURL\": [\"" +
                  server.address("/easylist.txt") +
                  "\", \"assets/thirdparties/easylist/easylist.txt\"]}}");
        Blocker blocker(data.path(), {package.path()});
        QSignalSpy loaded(&blocker, &Blocker::listsLoaded);
        blocker.loadLists();
        QVERIFY(loaded.wait(30000));
        BlockingWindow window(&blocker);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *automatic = window.findChild<QCheckBox *>(u"updateLists"_s);
        QVERIFY(automatic->isChecked());
        QTest::mouseClick(automatic, Qt::LeftButton, {}, QPoint(8, automatic->height() / 2));
        QCOMPARE(bytesOf(data.filePath(u"blocking.ini"_s)),
                 QByteArray("[blocking]\nenabled=true\nlists off=\nallowed sites=\n"
                            "update lists=false\n"));
        // The copy in use is the package's, fresh as it says: nothing was due.
        QCOMPARE(server.asked.size(), 0);
        QSignalSpy done(&blocker, &Blocker::updatesDone);
        auto *now = window.findChild<QPushButton *>(u"updateNow"_s);
        QTest::mouseClick(now, Qt::LeftButton);
        QVERIFY(!now->isEnabled());
        QVERIFY(done.wait(60000));
        QTRY_COMPARE_WITH_TIMEOUT(
            window.findChild<QTreeWidget *>(u"blockingLists"_s)->topLevelItem(0)->text(3),
            u"updated today"_s, 30000);
        QVERIFY(now->isEnabled());
        QCOMPARE(bytesOf(data.filePath(u"lists/easylist.txt"_s)), FreshList);
    }
};

QTEST_MAIN(ListUpdatesTest)
#include "tst_list_updates.moc"
