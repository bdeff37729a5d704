#include "blocking/filter_lists.h"
#include "blocking/filter_set.h"
#include "blocking/request_policy.h"
#include "browsing/engine_loader.h"
#include "browsing/web_engine_environment.h"
#include "results/page_reading.h"
#include "results/reading_rule.h"
#include "search/search_template.h"
#include "search/site_catalogue.h"
#include "search/site_lineup.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEngineContextMenuRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <QWheelEvent>
#include <csignal>

using namespace Qt::StringLiterals;

namespace {

constexpr int LoadTimeout = 30000;
using State = BrowserView::LoadState;

// Results whose page script has broken the main world's functions, with a title of markup, an
// address a script would run, a page's own document as a thumbnail, overlong texts and more
// results than anyone lists.
QByteArray hostileResults()
{
    QByteArray page = "<script>document.querySelectorAll = () => []; Array.prototype.map = null;"
                      "</script>"
                      "<div class=r><a href='javascript:alert(1)'>run</a><i>Script</i></div>"
                      "<div class=r><a href='http://evil.test/x'><img src='data:text/html,<b>x'>"
                      "</a><i>&lt;img src=x onerror=alert(1)&gt;</i></div>"
                      "<div class=r><a href='/v/long'>x</a><i>" +
                      QByteArray(700, 'L') + "</i></div>";
    for (int n = 0; n < 150; ++n)
        page += "<div class=r><a href='/v/" + QByteArray::number(n) + "'>x</a><i>n</i></div>";
    return page;
}

// The engine's page processes: the processes its zygote, a descendant of this one, forked.
QSet<qint64> rendererProcesses()
{
    QMultiHash<qint64, qint64> children;
    for (const QString &entry : QDir(u"/proc"_s).entryList(QDir::Dirs)) {
        QFile stat(u"/proc/%1/stat"_s.arg(entry));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid ...": the name may hold spaces and brackets.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        children.insert(fields.value(1).toLongLong(), entry.toLongLong());
    }
    const auto isZygote = [](qint64 process) {
        QFile command(u"/proc/%1/cmdline"_s.arg(process));
        return command.open(QIODevice::ReadOnly) && command.readAll().contains("--type=zygote");
    };
    QSet<qint64> renderers;
    QList<qint64> toVisit{QCoreApplication::applicationPid()};
    while (!toVisit.isEmpty()) {
        const qint64 parent = toVisit.takeLast();
        const QList<qint64> forked = children.values(parent);
        toVisit.append(forked);
        if (parent != QCoreApplication::applicationPid() && isZygote(parent))
            for (const qint64 child : forked)
                renderers.insert(child);
    }
    return renderers;
}

// Serves small pages on 127.0.0.1: "/" is one big link to "/second" in a new window. As the
// engine's proxy it also sees every request meant for anywhere else, and keeps every request.
class LocalSite final : public QObject
{
public:
    LocalSite()
    {
        if (!m_server.listen(QHostAddress::LocalHost))
            qFatal("cannot listen on 127.0.0.1");
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    requests.append(socket->peek(4096));
                    const QByteArray path = socket->readAll().split(' ').value(1);
                    if (path.startsWith("/held/"))
                        return holdFile(socket, path);
                    const QByteArray body = m_pages.value(path);
                    const QByteArray status = body.isEmpty() ? "404 Not Found" : "200 OK";
                    // A file to save, as a site's download link sends it; a cookie.
                    const QByteArray kind = body == "clip" ? "Content-Disposition: attachment"
                                            : body == "evil"
                                                ? "Content-Disposition: attachment; "
                                                  "filename=\"../../.autostart-probe.desktop\""
                                            : body == "cookie" ? "Set-Cookie: c=1; Path=/"
                                                               : "Content-Type: text/html";
                    socket->write("HTTP/1.1 " + status +
                                  "\r\nContent-Length: " + QByteArray::number(body.size()) +
                                  "\r\n" + kind + "\r\nConnection: close\r\n\r\n" + body);
                    socket->disconnectFromHost();
                });
        });
    }

    QString address(const QString &path) const
    {
        return u"http://127.0.0.1:%1%2"_s.arg(m_server.serverPort()).arg(path);
    }

    // Sends the rest of every file held so far.
    void releaseHeld()
    {
        for (const auto &[socket, rest] : std::exchange(m_held, {})) {
            socket->write(rest);
            socket->disconnectFromHost();
        }
    }

    QList<QByteArray> requests;

private:
    // "/held/NAME" is a file to save, video.mp4, of bytes of its own; half of it comes at once,
    // the rest when released.
    void holdFile(QTcpSocket *socket, const QByteArray &path)
    {
        const QByteArray body = path.repeated(20000);
        socket->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) +
                      "\r\nContent-Disposition: attachment; filename=\"video.mp4\"\r\n"
                      "Connection: close\r\n\r\n" +
                      body.first(body.size() / 2));
        m_held.append({socket, body.sliced(body.size() / 2)});
    }

    QList<std::pair<QPointer<QTcpSocket>, QByteArray>> m_held;

    // The pages of the file, by address, and the one made here.
    static QHash<QByteArray, QByteArray> pages()
    {
        QFile file(QStringLiteral(STAND_IN_PAGES));
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", STAND_IN_PAGES);
        QHash<QByteArray, QByteArray> pages{{"/r/hostile", hostileResults()}};
        // Descriptions of the largest size taken, and one byte more.
        const QByteArray described = "<OpenSearchDescription><ShortName>Big</ShortName><Url "
                                     "type='text/html' template='/s?q={searchTerms}'/>";
        for (const qsizetype size : {64 * 1024, 64 * 1024 + 1})
            pages["/os-" + QByteArray::number(size)] =
                described + QByteArray(size - described.size() - 24, ' ') +
                "</OpenSearchDescription>";
        QByteArray address;
        for (const QByteArray &line : file.readAll().split('\n')) {
            if (line.startsWith("== "))
                address = line.mid(3);
            else if (!address.isEmpty() && !line.startsWith('#') && !line.isEmpty())
                pages[address] += line;
        }
        return pages;
    }
    QHash<QByteArray, QByteArray> m_pages = pages();
    QTcpServer m_server;
};

} // namespace

class TestWebEngineView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        m_engine.setRequestPolicy(&m_policy);
        m_engine.release(); // no window to wait for
        // Beside the program's own switches.
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
                qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") +
                    " --proxy-server=" + m_site.address({}).toLatin1());
    }

    void newView_isNowhere_closedSitesAndHomeSendNothingAway()
    {
        std::unique_ptr<BrowserView> view(m_engine.factory()(nullptr));
        for (const QString &nowhere : {QString(), u"   "_s, u"javascript:alert(document.cookie)"_s})
            QVERIFY(!view->navigate(nowhere));
        QCoreApplication::processEvents(); // where the engine would be asked for
        QCOMPARE(view->findChild<QWebEngineView *>(), nullptr);
        QCOMPARE(view->locationUrl(), u"http:///"_s);

        // Closed sites and the home page send nothing away; the agent has no engine token.
        const SiteCatalogue::Lineup &sites = SiteCatalogue::builtInLineup();
        m_site.requests.clear();
        QVERIFY(view->navigate(sites[5].startPage));
        QTRY_COMPARE_WITH_TIMEOUT(view->title(), u"MetaCafe has closed (2021)"_s, LoadTimeout);
        const QUrl search = SearchTemplate::expand(sites[8].searchTemplate, u"rock & roll"_s);
        QVERIFY(view->navigate(search.toString(QUrl::FullyEncoded)));
        QTRY_COMPARE_WITH_TIMEOUT(view->title(), u"Revver has closed (2011)"_s, LoadTimeout);
        QVERIFY(view->showPage(u"<title>Home</title><a href='https://video.example/'>v</a>"
                               "<a id=own href='qrc:/home/live-sites'>live</a>"_s,
                               u"reelhop:home"_s));
        QTRY_COMPARE_WITH_TIMEOUT(view->title(), u"Home"_s, LoadTimeout);
        // Its link to another of the program's addresses asks the program; the page stays.
        QSignalSpy ownLinks(view.get(), &BrowserView::ownLinkFollowed);
        view->findChild<QWebEngineView *>()->page()->runJavaScript(
            u"document.getElementById('own').click()"_s);
        QTRY_COMPARE_WITH_TIMEOUT(ownLinks, QList<QVariantList>{{u"qrc:/home/live-sites"_s}},
                                  LoadTimeout);
        QCOMPARE(view->locationUrl(), u"reelhop:home"_s);
        QCOMPARE(m_site.requests, QList<QByteArray>());

        QVERIFY(view->navigate(m_site.address(u"/second"_s)));
        QTRY_COMPARE_WITH_TIMEOUT(view->title(), u"Second page"_s, LoadTimeout);
        QVERIFY(m_site.requests.value(0).startsWith("GET /second "));
        const QByteArray agent = m_site.requests[0].mid(m_site.requests[0].indexOf("User-Agent:"));
        QVERIFY2(agent.contains("Chrome/") && !agent.contains("QtWebEngine"), agent.constData());

        // Without the engine's module a view says why it shows nothing.
        EngineLoader missing(u"/nonexistent/reelhop_webengine.so"_s);
        std::unique_ptr<BrowserView> orphan(missing.factory()(nullptr));
        missing.release();
        QSignalSpy texts(orphan.get(), &BrowserView::statusTextChanged);
        for (int attempt = 1; attempt <= 2; ++attempt) { // each address tries again, and says why
            QVERIFY(orphan->navigate(m_site.address(u"/"_s)));
            QTRY_COMPARE(texts.size(), attempt);
            QVERIFY(texts.constLast().constFirst().toString().contains(u"web engine"_s));
        }
        QCOMPARE(orphan->loadState(), State::Failed);
    }

    // A pop-under rides a link's click: the tab stays where the link led. A click that leads
    // nowhere still opens its handler's window in the tab.
    void newWindow_ofALinksClickHandler_leavesTheTabWhereTheLinkLed()
    {
        std::unique_ptr<BrowserView> view(m_engine.factory()(nullptr));
        view->resize(640, 480);
        view->show();
        QStringList shown;
        connect(view.get(), &BrowserView::loadStateChanged, this,
                [&] { shown.append(view->locationUrl()); });
        QVERIFY(view->navigate(m_site.address(u"/popunder"_s)));
        QTRY_COMPARE_WITH_TIMEOUT(view->loadState(), State::Loaded, LoadTimeout);
        // Clicked again until the page, drawn, takes the click; its widget may be new each time.
        const auto page = [&view] { return view->findChild<QWebEngineView *>()->focusProxy(); };
        QTRY_COMPARE_WITH_TIMEOUT(
            (QTest::mouseClick(page(), Qt::LeftButton, {}, QPoint(100, 100)), view->title()),
            u"Second page"_s, LoadTimeout);

        QVERIFY(view->goBack());
        QTRY_COMPARE_WITH_TIMEOUT(view->title(), u"Pop-under"_s, LoadTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(view->loadState(), State::Loaded, LoadTimeout);
        // A click may come before the page's new widget takes it: clicked again, but seconds
        // apart, as each click holds the window it opens a moment (a link's click might follow).
        const auto clickUntil = [&](QPoint at, const std::function<bool()> &done) {
            for (int click = 0; click < 10; ++click) {
                QTest::mouseClick(page(), Qt::LeftButton, {}, at);
                if (QTest::qWaitFor(done, 3000))
                    return true;
            }
            return false;
        };
        // A pop-up the lists name is refused and counted as blocked.
        QVERIFY(clickUntil(QPoint(500, 400), [&] { return view->blockedCount() == 1; }));
        QCOMPARE(view->title(), u"Pop-under"_s);
        const QString untitled = m_site.address(u"/untitled"_s);
        QVERIFY(clickUntil(QPoint(500, 100), [&] { return view->locationUrl() == untitled; }));
        QVERIFY(!m_site.requests.join().contains("ads.test/pop"));
        QVERIFY(!shown.contains(m_site.address(u"/ad"_s)));
        QCOMPARE(view->findChildren<QWebEngineView *>().size(), 1);
    }

    void navigate_lastRequestWins_newWindowLinksStayInTheView_menuOffersThePlayer()
    {
        std::unique_ptr<BrowserView> view(m_engine.factory()(nullptr));
        view->resize(640, 480);
        view->show();
        view->setPlayerOffered(true);
        QSignalSpy statusTexts(view.get(), &BrowserView::statusTextChanged);
        QSignalSpy states(view.get(), &BrowserView::loadStateChanged);

        // Both made before the engine is up: the last one made is the page shown.
        QVERIFY(view->navigate(m_site.address(u"/untitled"_s)));
        QVERIFY(view->navigate(m_site.address(u"/"_s).remove(u"http://"_s))); // as typed
        QTRY_COMPARE_WITH_TIMEOUT(view->loadState(), State::Loaded, LoadTimeout);
        QCOMPARE(view->title(), u"First page"_s);
        QCOMPARE(view->locationUrl(), m_site.address(u"/"_s));
        QCOMPARE(statusTexts.constLast().constFirst(), u"Done"_s);
        QCOMPARE(view->loadProgress(), 100);
        QVERIFY(!view->goBack()); // one page: no history to go back to
        QVERIFY(!view->goForward());

        // A script alone may not open windows (before any click: a click lets it).
        QWebEngineView *engineView = view->findChild<QWebEngineView *>();
        QWidget *page = engineView->focusProxy();
        // Ctrl with the wheel turned up zooms in, down zooms out.
        QSignalSpy zoomSteps(view.get(), &BrowserView::zoomStepRequested);
        for (const int turned : {120, -120}) {
            QWheelEvent wheel(QPointF(50, 50), page->mapToGlobal(QPointF(50, 50)), {}, {0, turned},
                              Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(page, &wheel);
        }
        QCOMPARE(zoomSteps, (QList<QVariantList>{{1}, {-1}}));
        QVariant opened;
        engineView->page()->runJavaScript(u"window.open('/second') !== null"_s,
                                          [&](const QVariant &result) { opened = result; });
        QTRY_VERIFY_WITH_TIMEOUT(opened.isValid(), LoadTimeout);
        QCOMPARE(opened, QVariant(false));
        // The link's menu offers the player; a click opens the new window's page here.
        QSignalSpy played(view.get(), &BrowserView::playRequested);
        QAction *play = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT(
            (QTest::mouseClick(page, Qt::RightButton, {}, QPoint(100, 100)),
             play = QApplication::activePopupWidget()
                        ? QApplication::activePopupWidget()->findChild<QAction *>(u"playLink"_s)
                        : nullptr),
            LoadTimeout);
        // The tabs are fixed: no entry offers a new tab or window.
        const QList<QAction *> offered = QApplication::activePopupWidget()->actions();
        for (const auto action :
             {QWebEnginePage::OpenLinkInNewTab, QWebEnginePage::OpenLinkInNewWindow})
            QVERIFY(!offered.contains(engineView->pageAction(action)));
        play->trigger();
        QApplication::activePopupWidget()->close();
        QCOMPARE(played.value(0).value(0).toString(), m_site.address(u"/second"_s));

        m_site.requests.clear();
        QTest::mouseClick(page, Qt::LeftButton, {}, QPoint(100, 100));
        QTRY_COMPARE_WITH_TIMEOUT(view->title(), u"Second page"_s, LoadTimeout);
        QCOMPARE(m_site.requests.size(), 1); // fetched once, by the view's own page
        QCOMPARE(view->locationUrl(), m_site.address(u"/second"_s));
        QCOMPARE(view->findChildren<QWebEngineView *>().size(), 1);
        QVERIFY(view->goBack());
        QTRY_COMPARE_WITH_TIMEOUT(view->locationUrl(), m_site.address(u"/"_s), LoadTimeout);
        QVERIFY(view->goForward());
        QTRY_COMPARE_WITH_TIMEOUT(view->locationUrl(), m_site.address(u"/second"_s), LoadTimeout);
        // Away from a link the menu offers no player: it would be sent no address.
        QTRY_COMPARE_WITH_TIMEOUT(view->title(), u"Second page"_s, LoadTimeout);
        // Menus the retries above asked for may still come, and an open one takes the next
        // click: each is closed until the menu asked for here, known by its place, is open.
        const auto menuAskedHere = [engineView] {
            QWidget *menu = QApplication::activePopupWidget();
            if (menu && engineView->lastContextMenuRequest()->position() == QPoint(120, 60))
                return true;
            if (menu)
                menu->close();
            else
                QTest::mouseClick(engineView->focusProxy(), Qt::RightButton, {}, QPoint(120, 60));
            return false;
        };
        QTRY_VERIFY_WITH_TIMEOUT(menuAskedHere(), LoadTimeout);
        QCOMPARE(QApplication::activePopupWidget()->findChild<QAction *>(u"playLink"_s), nullptr);
        while (QWidget *menu = QApplication::activePopupWidget())
            menu->close();

        // The engine names a page without a title by its address; the view does not.
        states.clear();
        QVERIFY(view->navigate(m_site.address(u"/untitled"_s)));
        QTRY_VERIFY_WITH_TIMEOUT(states.contains({QVariant::fromValue(State::Loaded)}),
                                 LoadTimeout);
        QCOMPARE(view->locationUrl(), m_site.address(u"/untitled"_s));
        QCOMPARE(view->title(), QString());
        // Find counts the matches, forwards and back.
        QSignalSpy found(view.get(), &BrowserView::findFinished);
        for (const bool backward : {false, true}) {
            view->findText(u"T"_s, backward);
            QTRY_COMPARE_WITH_TIMEOUT(found.size(), backward ? 2 : 1, LoadTimeout);
        }
        QCOMPARE(found, (QList<QVariantList>{{1, 2}, {2, 2}}));
        // A page's wish is answered, not left waiting: no.
        QVERIFY(view->navigate(m_site.address(u"/ask"_s)));
        QTRY_COMPARE_WITH_TIMEOUT(view->title(), u"denied"_s, LoadTimeout);

        // Full screen moves the page to a view of its own; the tab's view still speaks for it.
        QVERIFY(view->navigate(m_site.address(u"/full"_s)));
        QTRY_COMPARE_WITH_TIMEOUT(view->title(), u"full"_s, LoadTimeout);
        QWebEnginePage *tabPage = engineView->page();
        QTRY_VERIFY_WITH_TIMEOUT(
            (QTest::mouseClick(engineView->focusProxy(), Qt::LeftButton, {}, QPoint(50, 50)),
             QWebEngineView::forPage(tabPage) != engineView),
            LoadTimeout);
        QCOMPARE(view->locationUrl(), m_site.address(u"/full"_s));
        view->setMuted(true);
        QVERIFY(tabPage->isAudioMuted());
        view->setMuted(false);
        tabPage->runJavaScript(u"document.exitFullscreen()"_s);
        QTRY_COMPARE_WITH_TIMEOUT(QWebEngineView::forPage(tabPage), engineView, LoadTimeout);

        // A site that does not answer ends as failed, with a reason.
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const quint16 port = closed.serverPort();
        closed.close();
        QVERIFY(view->navigate(u"http://127.0.0.1:%1/"_s.arg(port)));
        QTRY_COMPARE_WITH_TIMEOUT(view->loadState(), State::Failed, LoadTimeout);
        QVERIFY(!view->failureReason().isEmpty());
    }

    void pageOutOfSight_discardedOrEnded_comesBack_andPrintsOnceAtATime()
    {
        std::unique_ptr<BrowserView> view(m_engine.factory()(nullptr)); // out of sight
        QVERIFY(view->navigate(m_site.address(u"/second"_s)));
        QTRY_COMPARE_WITH_TIMEOUT(view->loadState(), State::Loaded, LoadTimeout);
        QVERIFY(!view->isInUse());
        view->setLifecycle(BrowserView::Lifecycle::Discarded);
        QTRY_COMPARE_WITH_TIMEOUT(view->lifecycle(), BrowserView::Lifecycle::Discarded,
                                  LoadTimeout);
        QSignalSpy states(view.get(), &BrowserView::loadStateChanged);
        view->setLifecycle(BrowserView::Lifecycle::Active); // as its tab is selected
        view->show();
        QTRY_VERIFY_WITH_TIMEOUT(!states.isEmpty() && view->loadState() == State::Loaded,
                                 LoadTimeout);
        QCOMPARE(view->locationUrl(), m_site.address(u"/second"_s));

        // The page's process ends: the tab fails with a word, Refresh loads the page again.
        QWebEngineView *engineView = view->findChild<QWebEngineView *>();
        const qint64 process = engineView->page()->renderProcessPid();
        QVERIFY(process > 0);
        QSignalSpy ended(view.get(), &BrowserView::processEnded);
        QCOMPARE(::kill(pid_t(process), SIGKILL), 0);
        QTRY_COMPARE_WITH_TIMEOUT(view->loadState(), State::Failed, LoadTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, LoadTimeout);
        QVERIFY2(view->failureReason().contains(u"Refresh"_s), qPrintable(view->failureReason()));
        QVERIFY(view->refresh());
        QTRY_COMPARE_WITH_TIMEOUT(view->loadState(), State::Loaded, LoadTimeout);
        QCOMPARE(view->title(), u"Second page"_s);

        // Its history, taken by another view, brings its page back; bytes of no history open the
        // address given instead.
        std::unique_ptr<BrowserView> again(m_engine.factory()(nullptr));
        const QString instead = m_site.address(u"/untitled"_s);
        QVERIFY(again->restoreHistory("no history", instead));
        QTRY_COMPARE_WITH_TIMEOUT(again->locationUrl(), instead, LoadTimeout);
        QVERIFY(again->restoreHistory(view->savedHistory(), instead));
        // The engine gives the restored entry's title before the address it commits.
        QTRY_COMPARE_WITH_TIMEOUT(again->locationUrl(), m_site.address(u"/second"_s), LoadTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(again->title(), u"Second page"_s, LoadTimeout);

        // The user presses Print in every print dialog, which prints into a file.
        QTemporaryDir folder;
        QString pdf = folder.filePath(u"page.pdf"_s);
        QTimer printButton;
        bool cancelNext = true; // the first dialog is cancelled
        connect(&printButton, &QTimer::timeout, this, [&] {
            if (auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget())) {
                if (std::exchange(cancelNext, false))
                    return dialog->reject();
                dialog->accept(); // takes the dialog's own choices: the file is named after them
                dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
                dialog->printer()->setOutputFileName(pdf);
            }
        });
        printButton.start(10);
        QSignalSpy texts(view.get(), &BrowserView::statusTextChanged);
        QSignalSpy printed(engineView, &QWebEngineView::printFinished);
        QVERIFY(!view->printWithDialog()); // cancelled: the next Print is asked as the first
        QVERIFY(view->printWithDialog());
        QVERIFY(!view->printWithDialog());
        QVERIFY(texts.constLast().constFirst().toString().contains(u"still being printed"_s));
        QTRY_VERIFY_WITH_TIMEOUT(printed.size() > 0, LoadTimeout);
        QVERIFY(QFileInfo(pdf).size() > 0);
        bool printedAgain = false; // the macro checks twice; the second print must be asked once
        QTRY_VERIFY_WITH_TIMEOUT(printedAgain || (printedAgain = view->printWithDialog()),
                                 LoadTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(printed.size(), 2, LoadTimeout);
        engineView->page()->runJavaScript(u"window.print()"_s); // the page's own Print button
        QTRY_COMPARE_WITH_TIMEOUT(printed.size(), 3, LoadTimeout);

        // A file the page cannot show goes to the download folder, each time under a name of its
        // own, the status bar saying where; the page stays.
        QTemporaryDir downloads;
        engineView->page()->profile()->setDownloadPath(downloads.path());
        const QString clip = m_site.address(u"/clip.mp4"_s);
        for (const QString &name : {u"clip.mp4"_s, u"clip (1).mp4"_s}) {
            QVERIFY(view->navigate(clip));
            QTRY_COMPARE_WITH_TIMEOUT(texts.constLast().constFirst().toString(),
                                      u"Downloaded "_s + downloads.filePath(name), LoadTimeout);
        }
        QCOMPARE(QDir(downloads.path()).entryList(QDir::Files).size(), 2);
        QCOMPARE(view->locationUrl(), m_site.address(u"/second"_s));
        QCOMPARE(view->loadState(), State::Loaded);

        // Closed at once after a print starts: the printout is finished, nothing breaks.
        pdf = folder.filePath(u"last.pdf"_s);
        QVERIFY(view->printWithDialog());
        view.reset();
        QVERIFY(QFileInfo(pdf).size() > 0);
    }

    void sitesRunApart_andWebPagesReachNoneOfTheProgramsOwn()
    {
        std::unique_ptr<BrowserView> view(m_engine.factory()(nullptr));
        QVERIFY(view->showPage(u"<title>Home</title>mine"_s, u"reelhop:home"_s));
        QTRY_COMPARE_WITH_TIMEOUT(view->title(), u"Home"_s, LoadTimeout);
        QVERIFY(view->navigate(m_site.address(u"/second"_s)));
        QTRY_COMPARE_WITH_TIMEOUT(view->loadState(), State::Loaded, LoadTimeout);
        const QSet<qint64> before = rendererProcesses();
        QVERIFY(view->navigate(m_site.address(u"/framed"_s)));
        QTRY_COMPARE_WITH_TIMEOUT(view->title(), u"framed"_s, LoadTimeout);
        // The page's site keeps its process; each frame of another site gets one of its own.
        const QSet<qint64> started = rendererProcesses() - before;
        QVERIFY2(started.size() >= 2, qPrintable(QString::number(started.size())));

        QVERIFY(view->navigate(m_site.address(u"/reach"_s)));
        QTRY_COMPARE_WITH_TIMEOUT(view->title(), u"refused"_s, LoadTimeout);
        QCOMPARE(view->locationUrl(), m_site.address(u"/reach"_s));
    }

    // A page in sight shows its dialogs, their text as text; from the second on the user may
    // stop the page from showing more, and then it shows none.
    void dialogs_fromTheSecondOnOfferToStopThePage()
    {
        std::unique_ptr<BrowserView> view(m_engine.factory()(nullptr));
        view->show();
        QStringList seen;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&seen] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog || dialog->objectName() != u"pageDialog")
                return;
            const auto *box = qobject_cast<QMessageBox *>(dialog);
            auto *stop = dialog->findChild<QCheckBox *>();
            const QLabel *text = box ? nullptr : dialog->findChild<QLabel *>();
            const bool plain = (box ? box->textFormat() : text->textFormat()) == Qt::PlainText;
            seen << (plain ? QString() : u"markup: "_s) + (box ? box->text() : text->text()) +
                        (stop ? u", may stop"_s : QString());
            if (stop)
                stop->setChecked(true);
            if (auto *edit = dialog->findChild<QLineEdit *>())
                edit->setText(u"answer"_s);
            dialog->accept();
        });
        answer.start(20);
        QVERIFY(view->navigate(m_site.address(u"/dialogs"_s)));
        QTRY_COMPARE_WITH_TIMEOUT(view->title(), u"done answer"_s, LoadTimeout);
        QCOMPARE(seen, (QStringList{u"<b>one</b>"_s, u"<i>two</i>, may stop"_s}));
    }

    void downloadsOfOneNameAtOnce_areTwoWholeFiles()
    {
        QTemporaryDir downloads;
        std::unique_ptr<BrowserView> first(m_engine.factory()(nullptr));
        std::unique_ptr<BrowserView> second(m_engine.factory()(nullptr));
        QSignalSpy firstTexts(first.get(), &BrowserView::statusTextChanged);
        QSignalSpy secondTexts(second.get(), &BrowserView::statusTextChanged);
        const auto last = [](const QSignalSpy &texts) {
            return texts.isEmpty() ? QString() : texts.constLast().constFirst().toString();
        };
        for (BrowserView *view : {first.get(), second.get()}) {
            view->show(); // a download the user asked for, in sight
            QVERIFY(view->navigate(m_site.address(u"/second"_s)));
            QTRY_COMPARE_WITH_TIMEOUT(view->loadState(), State::Loaded, LoadTimeout);
        }
        first->findChild<QWebEngineView *>()->page()->profile()->setDownloadPath(downloads.path());
        QVERIFY(first->navigate(m_site.address(u"/held/first"_s)));
        QTRY_VERIFY_WITH_TIMEOUT(last(firstTexts).startsWith(u"Downloading"_s), LoadTimeout);
        QVERIFY(second->navigate(m_site.address(u"/held/second"_s)));
        QTRY_VERIFY_WITH_TIMEOUT(last(secondTexts).startsWith(u"Downloading"_s), LoadTimeout);
        m_site.releaseHeld();
        const QString firstFile = downloads.filePath(u"video.mp4"_s);
        const QString secondFile = downloads.filePath(u"video (1).mp4"_s);
        QTRY_COMPARE_WITH_TIMEOUT(last(firstTexts), u"Downloaded "_s + firstFile, LoadTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(last(secondTexts), u"Downloaded "_s + secondFile, LoadTimeout);
        for (const auto &[file, path] :
             {std::pair{firstFile, "/held/first"}, std::pair{secondFile, "/held/second"}}) {
            QFile saved(file);
            QVERIFY(saved.open(QIODevice::ReadOnly));
            QVERIFY2(saved.readAll() == QByteArray(path).repeated(20000), path);
        }
        QCOMPARE(QDir(downloads.path()).entryList(QDir::Files).size(), 2);
    }

    void pages_actOnTheMachineOnlyWhenAsked()
    {
        QTemporaryDir downloads;
        std::unique_ptr<BrowserView> view(m_engine.factory()(nullptr));
        view->resize(640, 480);
        view->show();
        QSignalSpy texts(view.get(), &BrowserView::statusTextChanged);
        QVERIFY(view->navigate(m_site.address(u"/second"_s)));
        QTRY_COMPARE_WITH_TIMEOUT(view->loadState(), State::Loaded, LoadTimeout);
        view->findChild<QWebEngineView *>()->page()->profile()->setDownloadPath(downloads.path());
        const auto saved = [&] { return QDir(downloads.path()).entryList(QDir::Files); };

        // Another tab's view takes none of this view's downloads.
        std::unique_ptr<BrowserView> other(m_engine.factory()(nullptr));
        QVERIFY(other->navigate(m_site.address(u"/untitled"_s)));
        QTRY_COMPARE_WITH_TIMEOUT(other->loadState(), State::Loaded, LoadTimeout);
        QSignalSpy otherTexts(other.get(), &BrowserView::statusTextChanged);
        QSignalSpy otherStates(other.get(), &BrowserView::loadStateChanged);

        // A site names the file; it lands in the download folder under a plain name, not run.
        QVERIFY(view->navigate(m_site.address(u"/evil.bin"_s)));
        QTRY_COMPARE_WITH_TIMEOUT(saved(), QStringList{u"autostart-probe.desktop.download"_s},
                                  LoadTimeout);
        QVERIFY(!QFileInfo::exists(downloads.filePath(u"../../.autostart-probe.desktop"_s)));
        QCOMPARE(otherTexts.size() + otherStates.size(), 0);

        // A page that sends a file by itself waits for the user's yes.
        QVERIFY(view->navigate(m_site.address(u"/auto"_s)));
        QFrame *question = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT(question = view->findChild<QFrame *>(u"downloadQuestion"_s),
                                 LoadTimeout);
        QCOMPARE(saved().size(), 1);
        QTest::mouseClick(question->findChild<QPushButton *>(u"saveDownload"_s), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(
            saved(), (QStringList{u"autostart-probe.desktop.download"_s, u"clip.mp4"_s}),
            LoadTimeout);
        // "Don't Save" takes the question away and saves nothing.
        QVERIFY(view->navigate(m_site.address(u"/auto"_s)));
        QTRY_VERIFY_WITH_TIMEOUT(question = view->findChild<QFrame *>(u"downloadQuestion"_s),
                                 LoadTimeout);
        QTest::mouseClick(question->findChild<QPushButton *>(u"discardDownload"_s), Qt::LeftButton);
        QTRY_VERIFY(!view->findChild<QFrame *>(u"downloadQuestion"_s));
        QCOMPARE(saved().size(), 2);

        // A page typed into on another site (whose page widget the engine made anew) is in use.
        QVERIFY(view->navigate(u"http://form.test/"_s));
        QTRY_COMPARE_WITH_TIMEOUT(view->title(), u"form"_s, LoadTimeout);
        QWebEngineView *engineView = view->findChild<QWebEngineView *>();
        QVERIFY(!view->isInUse());
        QTest::mouseClick(engineView->focusProxy(), Qt::LeftButton, {}, QPoint(10, 10));
        QTest::keyClicks(engineView->focusProxy(), u"hello"_s);
        QVERIFY(view->isInUse());

        // A page out of sight shows no dialog and prints nothing; its script goes on.
        view->hide();
        texts.clear();
        QVERIFY(view->navigate(m_site.address(u"/alert"_s)));
        QTRY_COMPARE_WITH_TIMEOUT(view->title(), u"after alert"_s, LoadTimeout);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        // Newer engines report the print request after the script has gone on.
        const auto said = [&texts] {
            QString all;
            for (const QVariantList &text : texts)
                all += text.constFirst().toString() + u'\n';
            return all;
        };
        QTRY_VERIFY2_WITH_TIMEOUT(said().contains(u"not shown"_s) &&
                                      said().contains(u"nothing was printed"_s),
                                  qPrintable(said()), LoadTimeout);
        // Out of sight, even an address the window sent may not save a file unasked.
        QVERIFY(view->navigate(m_site.address(u"/clip.mp4"_s)));
        QTRY_VERIFY_WITH_TIMEOUT(view->findChild<QFrame *>(u"downloadQuestion"_s), LoadTimeout);
        QCOMPARE(saved().size(), 2);
    }

    void resultsReader_readsByRuleDataOrShapeOnceSettled_asBoundedPlainData()
    {
        std::unique_ptr<BrowserView> view(m_engine.factory()(nullptr));
        const auto read = [&view, this](const char *path, const ReadingRule &rule) {
            QSignalSpy answers(view.get(), &BrowserView::resultsRead);
            view->readResults(ReadingRules::readerScript(rule));
            view->navigate(m_site.address(QString::fromLatin1(path)));
            [&answers] {
                QTRY_VERIFY_WITH_TIMEOUT(!answers.isEmpty() && answers.constLast().at(1).toBool(),
                                         LoadTimeout);
            }();
            return PageReadings::fromAnswer(answers.constLast().constFirst());
        };
        const auto titles = [](const PageReading &reading) {
            QStringList all;
            for (const VideoResult &result : reading.results)
                all.append(result.title + u' ' + result.length);
            return all;
        };
        const auto here = [this](const QString &path) { return m_site.address(path); };
        using How = PageReading::How;

        const ReadingRule rule{u"li.result"_s, u".name"_s, u"a.watch"_s, u"img.thumb"_s,
                               u".len"_s,      u".by"_s,   u".info"_s};
        const PageReading byRule = read("/r/rule", rule);
        QCOMPARE(byRule.how, How::Rule);
        QCOMPARE(byRule.results.size(), 2); // the item without a link is no result
        QCOMPARE(byRule.results[0], (VideoResult{u"Alpha one"_s,
                                                 here(u"/v/1"_s),
                                                 here(u"/t1.png"_s),
                                                 u"1:02"_s,
                                                 62,
                                                 u"Ann"_s,
                                                 u"10 views"_s,
                                                 {}}));
        // A lazily loaded thumbnail: its real address, not the placeholder.
        QCOMPARE(byRule.results[1].thumbnail, here(u"/t2.png"_s));
        QCOMPARE(byRule.results[1].seconds, 3600);

        const PageReading late = read("/r/late", {});
        QCOMPARE(late.how, How::Shape);
        QCOMPARE(titles(late), (QStringList{u"Late 1 0:01"_s, u"Late 2 0:02"_s, u"Late 3 0:03"_s}));
        QTRY_COMPARE_WITH_TIMEOUT(view->title(), u"page sees undefined"_s, LoadTimeout);

        const PageReading data = read("/r/data", rule);
        QCOMPARE(data.how, How::Data);
        QCOMPARE(titles(data),
                 (QStringList{u"Data one 1:05"_s, u"Data two 0:30"_s, u"Data three 2:00"_s}));
        QCOMPARE(data.results[0].author, u"Dee"_s);
        QCOMPARE(data.results[0].thumbnail, here(u"/d1.png"_s));

        // Not the menu (icons), not the ads: the results; a rule that matches nothing yields.
        const PageReading shape = read("/r/shape", {u"li.gone"_s, {}, {}, {}, {}, {}, {}});
        QCOMPARE(shape.how, How::Shape);
        QCOMPARE(titles(shape),
                 (QStringList{u"Shape one 3:00"_s, u"Shape two 4:00"_s, u"Shape three 5:00"_s}));
        QCOMPARE(shape.results[0].author, u"Sam"_s);

        const PageReading hostile = read("/r/hostile", {u"div.r"_s, u"i"_s, {}, {}, {}, {}, {}});
        QCOMPARE(hostile.results.size(), PageReadings::MostResults);
        QCOMPARE(hostile.results[0].title, u"<img src=x onerror=alert(1)>"_s);
        QCOMPARE(hostile.results[0].address, u"http://evil.test/x"_s);
        QCOMPARE(hostile.results[0].thumbnail, QString());
        QCOMPARE(hostile.results[1].title, QString(PageReadings::LongestText, u'L'));
    }

    // A page that describes its site's search: its menu puts the site on a tab, the window
    // offering it for the row the user picks.
    void describedSite_isOfferedForATabFromThePagesMenu()
    {
        std::unique_ptr<BrowserView> view(m_engine.factory()(nullptr));
        view->resize(640, 480);
        view->show();
        QVERIFY(view->navigate(m_site.address(u"/described"_s)));
        QTRY_COMPARE_WITH_TIMEOUT(view->loadState(), State::Loaded, LoadTimeout);
        QSignalSpy chosen(view.get(), &BrowserView::siteDescriptionChosen);
        const auto menuEntry = [&view] {
            QWidget *menu = QApplication::activePopupWidget();
            QAction *put = menu ? menu->findChild<QAction *>(u"putSiteOnTab"_s) : nullptr;
            if (menu && !put)
                menu->close(); // asked before the page's description was found
            else if (!menu)
                QTest::mouseClick(view->findChild<QWebEngineView *>()->focusProxy(),
                                  Qt::RightButton, {}, QPoint(20, 20));
            return put;
        };
        QAction *put = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT(put = menuEntry(), LoadTimeout);
        put->trigger();
        QApplication::activePopupWidget()->close();
        QCOMPARE(chosen.value(0).value(0).toUrl(), QUrl(m_site.address(u"/os.xml"_s)));

        QTemporaryDir folder;
        SiteLineup lineup(folder.path());
        lineup.takeSiteFrom(chosen[0][0].toUrl(), chosen[0][1].toUrl());
        QWidget *sites = nullptr;
        const auto shown = [&sites] {
            for (QWidget *window : QApplication::topLevelWidgets())
                if (window->objectName() == u"Sites" && window->isVisible())
                    sites = window;
            return sites;
        };
        QTRY_VERIFY_WITH_TIMEOUT(shown(), LoadTimeout);
        QVERIFY(sites->findChild<QLabel *>(u"note"_s)->text().startsWith(u"Described is ready"_s));
        QTest::keyClick(sites->findChild<QComboBox *>(u"preset(3)"_s), Qt::Key_End);
        QCOMPARE(sites->findChild<QLineEdit *>(u"search(3)"_s)->text(),
                 m_site.address(u"/find?q=%s"_s));
        // 64 KiB are taken whole, a byte more is refused as too large.
        QSignalSpy said(&lineup, &SiteLineup::statusMessage);
        for (const char *path : {"/os-65536", "/os-65537"})
            lineup.takeSiteFrom(QUrl(m_site.address(QString::fromLatin1(path))),
                                chosen[0][1].toUrl());
        QTRY_VERIFY_WITH_TIMEOUT(
            sites->findChild<QLabel *>(u"note"_s)->text().startsWith(u"Big"_s), LoadTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(said.size(), 1, LoadTimeout);
        QVERIFY(said[0][0].toString().contains(u"64 KiB"_s));
        sites->close();
    }

    // A click on one result of a page no rule knows: the rule derived from it reads every
    // result, and none of the menu's or the ads'. The layer takes the pointer, not the page.
    void pointingAtOneResult_derivesARuleThatReadsThemAll()
    {
        std::unique_ptr<BrowserView> view(m_engine.factory()(nullptr));
        view->resize(800, 600);
        view->show();
        QVERIFY(!view->pointAtPage(ReadingRules::pickerScript())); // no page yet
        QVERIFY(view->navigate(m_site.address(u"/r/shape"_s)));
        QTRY_COMPARE_WITH_TIMEOUT(view->loadState(), State::Loaded, LoadTimeout);
        QVariant box;
        view->findChild<QWebEngineView *>()->page()->runJavaScript(
            u"(e => (e.scrollIntoView(), (r => [r.x + r.width / 2, r.y + r.height / 2])("
            "e.getBoundingClientRect())))(document.querySelectorAll('main .tile')[1])"_s,
            [&box](const QVariant &center) { box = center; });
        QTRY_VERIFY_WITH_TIMEOUT(box.isValid(), LoadTimeout);
        const QPoint second(box.toList()[0].toInt(), box.toList()[1].toInt());

        QSignalSpy pointed(view.get(), &BrowserView::pagePointed);
        QSignalSpy left(view.get(), &BrowserView::pointingLeft);
        QVERIFY(view->pointAtPage(ReadingRules::pickerScript()));
        auto *layer = view->findChild<QWidget *>(u"pagePointing"_s);
        QVERIFY(layer && layer->isVisible());
        QTest::keyClick(layer, Qt::Key_Escape);
        QCOMPARE(left.size(), 1);
        QTRY_COMPARE(view->findChild<QWidget *>(u"pagePointing"_s), nullptr);

        QVERIFY(view->pointAtPage(ReadingRules::pickerScript()));
        layer = view->findChild<QWidget *>(u"pagePointing"_s);
        QTest::mouseMove(layer, second);
        QTRY_COMPARE_WITH_TIMEOUT(pointed.size(), 1, LoadTimeout);
        QCOMPARE(pointed[0][1].toBool(), false);
        QCOMPARE(pointed[0][0].toMap().value(u"marks"_s).toList().size(), 1);
        QTest::mouseClick(layer, Qt::LeftButton, {}, second);
        QTRY_VERIFY_WITH_TIMEOUT(!pointed.isEmpty() && pointed.constLast()[1].toBool(),
                                 LoadTimeout);
        const QVariant answer = pointed.constLast()[0];
        QCOMPARE(answer.toMap().value(u"marks"_s).toList().size(), 3);
        const ReadingRule rule = ReadingRules::ruleOfAnswer(answer);
        QVERIFY2(rule.item.contains(u"tile"_s), qPrintable(rule.item));
        QCOMPARE(left.size(), 1);
        view->endPointing();

        QSignalSpy answers(view.get(), &BrowserView::resultsRead);
        view->readResults(ReadingRules::readerScript(rule));
        QVERIFY(view->refresh());
        QTRY_VERIFY_WITH_TIMEOUT(!answers.isEmpty() && answers.constLast().at(1).toBool(),
                                 LoadTimeout);
        const PageReading reading = PageReadings::fromAnswer(answers.constLast().constFirst());
        QCOMPARE(reading.how, PageReading::How::Rule);
        QStringList titles;
        for (const VideoResult &result : reading.results)
            titles.append(result.title + u' ' + result.length + u' ' + result.author);
        QCOMPARE(titles, (QStringList{u"Shape one 3:00 Sam"_s, u"Shape two 4:00 "_s,
                                      u"Shape three 5:00 "_s}));
    }

    void builtInRules_readPagesShapedAsTheirSitesAre_data()
    {
        QTest::addColumn<QString>("searchTemplate");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("expected");
        const auto site = [](int slot) {
            return SiteCatalogue::builtInLineup()[slot].searchTemplate;
        };
        QTest::newRow("YouTube") << site(0) << u"/shaped/youtube"_s
                                 << QStringList{u"Tube one|/watch?v=a1|/vi/a1.jpg|4:13|Chan|1.2M "
                                                u"views · 3 years ago"_s,
                                                u"Tube two|/watch?v=a2|/vi/a2.jpg|"_s};
        QTest::newRow("Google") << site(1) << u"/shaped/google"_s
                                << QStringList{
                                       u"Google one|https://www.youtube.com/watch?v=g1|"
                                       u"data:image/jpeg;base64,/9j/4AAQ|3:33|YouTube - "
                                       u"Gus|A clip."_s,
                                       u"Google two|https://www.youtube.com/watch?v=g2||"_s};
        QTest::newRow("Rumble") << u"https://rumble.com/search/video?q=%s"_s << u"/shaped/rumble"_s
                                << QStringList{u"Rumble one|/v1-one.html|/r1.jpg|12:01|Ron|Jan 1"_s,
                                               u"Rumble two|/v2-two.html|/r2.jpg|"_s};
    }

    void builtInRules_readPagesShapedAsTheirSitesAre()
    {
        QFETCH(QString, searchTemplate);
        QFETCH(QString, page);
        QFETCH(QStringList, expected);
        std::unique_ptr<BrowserView> view(m_engine.factory()(nullptr));
        QSignalSpy answers(view.get(), &BrowserView::resultsRead);
        view->readResults(ReadingRules::readerScript(ReadingRules::builtIn(searchTemplate)));
        view->navigate(m_site.address(page));
        QTRY_VERIFY_WITH_TIMEOUT(!answers.isEmpty() && answers.constLast().at(1).toBool(),
                                 LoadTimeout);
        const PageReading reading = PageReadings::fromAnswer(answers.constLast().constFirst());
        QCOMPARE(reading.how, PageReading::How::Rule);
        QCOMPARE(reading.itemBypassed, qstrcmp(QTest::currentDataTag(), "Google") == 0);
        QStringList read;
        const QString here = m_site.address({});
        for (const VideoResult &video : reading.results) {
            QStringList parts{video.title,  video.address, video.thumbnail,
                              video.length, video.author,  video.meta};
            for (QString &part : parts) {
                if (part.startsWith(here))
                    part.remove(0, here.size());
            }
            while (parts.size() > 4 && parts.constLast().isEmpty())
                parts.removeLast();
            read.append(parts.join(u'|'));
        }
        QCOMPARE(read, expected);
    }

    // Each request is asked about as the kind of request that the lists' type options name.
    void blocking_asksAboutEachRequestAsItsKind()
    {
        std::unique_ptr<BrowserView> view(m_engine.factory()(nullptr));
        QVERIFY(view->navigate(m_site.address(u"/kinds"_s)));
        const QStringList kinds{u"document"_s, u"stylesheet"_s,     u"other"_s,
                                u"script"_s,   u"image"_s,          u"subdocument"_s,
                                u"font"_s,     u"xmlhttprequest"_s, u"ping"_s};
        for (const QString &kind : kinds) {
            const QString path = kind == u"document" ? u"/kinds"_s : u"/t/"_s + kind;
            QTRY_VERIFY2_WITH_TIMEOUT(m_policy.asked.contains(path), qPrintable(kind), LoadTimeout);
            QCOMPARE(m_policy.asked[path], *Blocking::requestTypeNamed(kind.toLatin1()));
        }
    }

    void blocking_keepsAdsAway_hidesNamedElements_refusesThirdPartyCookies_allowedSiteGetsAll()
    {
        std::unique_ptr<BrowserView> view(m_engine.factory()(nullptr));
        const auto adRequests = [this] {
            return std::count_if(
                m_site.requests.cbegin(), m_site.requests.cend(), [](const QByteArray &request) {
                    return request.contains("ads.test") || request.contains("tracker.test");
                });
        };
        m_site.requests.clear();
        QSignalSpy counts(view.get(), &BrowserView::blockedCountChanged);
        QVERIFY(view->navigate(m_site.address(u"/results"_s)));
        // The blocked frame stays empty, not showing the engine's error page.
        QTRY_COMPARE_WITH_TIMEOUT(view->title(), u"Results none about:blank"_s, LoadTimeout);
        QCOMPARE(adRequests(), 0);
        QVERIFY(m_site.requests.join().contains("GET /own.png"));
        QCOMPARE(view->blockedCount(), 3);
        QCOMPARE(counts.constLast().constFirst(), 3);
        // The site's own cookie is kept, the other site's is not.
        QVariant cookie;
        view->findChild<QWebEngineView *>()->page()->runJavaScript(
            u"document.cookie"_s, [&](const QVariant &result) { cookie = result; });
        QTRY_COMPARE_WITH_TIMEOUT(cookie, QVariant(u"c=1"_s), LoadTimeout);
        // Typed without a scheme: https first; a site without it gets the http address.
        m_site.requests.clear();
        QVERIFY(view->navigate(u"cookies.test/check"_s));
        QTRY_COMPARE_WITH_TIMEOUT(view->title(), u"cookies []"_s, LoadTimeout);
        // A late request of the page before may come first: the order of these two is what counts.
        const QByteArray asked = m_site.requests.join();
        QVERIFY(asked.contains("CONNECT cookies.test:443"));
        QVERIFY(asked.indexOf("CONNECT cookies.test:443") <
                asked.indexOf("GET http://cookies.test/"));
        QCOMPARE(view->locationUrl(), u"http://cookies.test/check"_s);

        // A page that a rule blocks is not asked for; the program's page says so, and its link
        // opens it this once.
        QVERIFY(view->navigate(u"http://ads.test/landing"_s));
        QTRY_COMPARE_WITH_TIMEOUT(view->title(), u"Blocked"_s, LoadTimeout);
        QCOMPARE(adRequests(), 0);
        QCOMPARE(view->locationUrl(), u"http://ads.test/landing"_s); // the notice stands for it
        view->findChild<QWebEngineView *>()->page()->runJavaScript(
            u"document.getElementById('open-once').click()"_s);
        QTRY_COMPARE_WITH_TIMEOUT(view->title(), u"Landing"_s, LoadTimeout);
        QCOMPARE(adRequests(), 1);

        // With the site allowed, every request arrives and nothing is hidden.
        m_policy.allowed = true;
        m_site.requests.clear();
        QVERIFY(view->navigate(m_site.address(u"/results"_s)));
        QTRY_COMPARE_WITH_TIMEOUT(view->title(), u"Results block elsewhere"_s, LoadTimeout);
        for (const char *ad : {"ads.test/ad.js", "ads.test/frame", "tracker.test/pixel.gif"})
            QTRY_VERIFY2_WITH_TIMEOUT(m_site.requests.join().contains(ad), ad, LoadTimeout);
        QCOMPARE(view->blockedCount(), 0);
        m_policy.allowed = false;

        // A page opens without the parameters the lists take off.
        QVERIFY(view->navigate(m_site.address(u"/clean?utm_source=results&a=1"_s)));
        QTRY_COMPARE_WITH_TIMEOUT(view->title(), u"Clean"_s, LoadTimeout);
        QCOMPARE(view->locationUrl(), m_site.address(u"/clean?a=1"_s));
        QVERIFY(!m_site.requests.join().contains("utm_source"));

        // Rules for every site apply by the names a page uses, however late they come.
        QVERIFY(view->navigate(m_site.address(u"/by-name"_s)));
        QTRY_COMPARE_WITH_TIMEOUT(view->title(), u"none none inline block none none"_s,
                                  LoadTimeout);

        // In-page rules run the package's functions before the page's scripts, in the page and
        // in its frame of another site, which runs in a process of its own, from the first load.
        QVERIFY2(!m_policy.frameScripts(QUrl(m_site.address(u"/in-page"_s)), {}).page.isEmpty(),
                 "the uBlock Origin package's functions are not installed");
        QVERIFY(view->navigate(m_site.address(u"/in-page"_s)));
        QTRY_COMPARE_WITH_TIMEOUT(view->title(), u"flag true, inner 1"_s, LoadTimeout);
        // Loaded again, each gets them again (the title is changed first, so the load is seen).
        view->findChild<QWebEngineView *>()->page()->runJavaScript(u"document.title = 'old'"_s);
        QTRY_COMPARE_WITH_TIMEOUT(view->title(), u"old"_s, LoadTimeout);
        QVERIFY(view->refresh());
        QTRY_COMPARE_WITH_TIMEOUT(view->title(), u"flag true, inner 1"_s, LoadTimeout);
        // The frame's rules stay in the pages that asked for them: another tab's page of another
        // site, which asks none (allowed), gets none in the same frame.
        m_policy.allowed = true;
        std::unique_ptr<BrowserView> other(m_engine.factory()(nullptr));
        QVERIFY(other->navigate(u"http://elsewhere.test/framing"_s));
        QTRY_COMPARE_WITH_TIMEOUT(other->title(), u"inner undefined"_s, LoadTimeout);
        // With the site allowed, they stay out.
        QVERIFY(view->refresh());
        QTRY_COMPARE_WITH_TIMEOUT(view->title(), u"flag undefined, inner undefined"_s,
                                  LoadTimeout);
        m_policy.allowed = false;

        // A blocked script a rule names a stand-in for runs the stand-in, from no site at all.
        m_site.requests.clear();
        QVERIFY(view->navigate(m_site.address(u"/stood-in"_s)));
        QTRY_COMPARE_WITH_TIMEOUT(view->title(), u"stood in by google-ima.js, window.standIn = 'stood in by noop.txt'"_s, LoadTimeout);
        QCOMPARE(adRequests(), 0);
        QCOMPARE(view->blockedCount(), 2);
    }

private:
    // Blocks with a few rules of its own, or nothing while the site is allowed.
    class TestPolicy final : public RequestPolicy
    {
    public:
        TestPolicy()
        {
            // The installed package's functions, as the blocker reads them.
            m_filters.useScriptlets(std::make_shared<const ScriptletLibrary>(
                ScriptletLibrary::read(FilterLists::packageFolders())));
            m_filters.addList(u"test.txt"_s, "||ads.test^\n||tracker.test^$image\n##.sponsored\n"
                                             "###late-ad\n##.box > .promo\n##.renamed\n##.kept\n"
                                             "127.0.0.1#@#.kept\n"
                                             "||ads.test/pop$popup\n$removeparam=utm_source\n"
                                             "127.0.0.1##+js(set-constant, pageFlag, true)\n"
                                             "frames.test##+js(set-constant, innerFlag, 1)\n"
                                             "||ads.test/ima.js$script,redirect=google-ima.js\n"
                                             "||ads.test/x.txt$xhr,redirect=noop.txt\n");
        }
        RequestVerdict verdict(const QUrl &address, const QUrl &page,
                               Blocking::RequestType type) const override
        {
            asked[address.path()] = type;
            const Blocking::Decision decision =
                m_filters.decide(Blocking::Request::make(address, page, type));
            if (allowed)
                return {};
            if (!decision.blocked())
                return {{}, QUrl::fromEncoded(decision.withoutParameters)};
            return {QString::fromUtf8(decision.rule),
                    decision.resource.isEmpty()
                        ? QUrl()
                        : standInAddress(QString::fromUtf8(decision.resource))};
        }
        FrameScripts frameScripts(const QUrl &frame, const QUrl &) const override
        {
            if (allowed)
                return {};
            const auto calls = m_filters.scriptletsFor(frame);
            using World = ScriptletLibrary::World;
            return {m_filters.scriptlets()->compose(calls, World::Page),
                    m_filters.scriptlets()->compose(calls, World::Isolated)};
        }
        std::optional<StandIns::Resource> standIn(const QString &name) const override
        {
            return StandIns::Resource{"window.standIn = 'stood in by " + name.toUtf8() + "'",
                                      "application/javascript"};
        }
        PageHiding hiding(const QUrl &page) const override
        {
            return allowed ? PageHiding() : m_filters.hiding(page);
        }
        bool allowed = false;
        mutable QHash<QString, Blocking::RequestType> asked; // by path, the last type asked

    private:
        Blocking::FilterSet m_filters;
    };

    TestPolicy m_policy;
    EngineLoader m_engine{QStringLiteral(REELHOP_WEBENGINE_MODULE)};
    LocalSite m_site;
};

int main(int argc, char *argv[])
{
    prepareWebEngineEnvironment();
    QApplication app(argc, argv);
    TestWebEngineView test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_web_engine_view.moc"
