#include "support/window_fixture.h"

#include <QAction>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QStandardPaths>

namespace {

QStringList offers(QLineEdit *box, const QString &typed)
{
    box->clear();
    QTest::keyClicks(box, typed);
    QStringList shown;
    QAbstractItemModel *model = box->completer()->completionModel();
    for (int row = 0; row < model->rowCount(); ++row)
        shown.append(model->index(row, 0).data().toString());
    return shown;
}

void restart(WindowFixture &fixture)
{
    fixture.window.reset();
    fixture.window =
        std::make_unique<MainWindow>(fixture.folder.path(), fakeBrowserViewFactory(&fixture.log));
    fixture.showActive();
}

void keys(const WindowFixture &fixture, const char *sequence, int times = 1)
{
    for (int time = 0; time < times; ++time)
        QTest::keySequence(fixture.window.get(), QKeySequence(QString::fromLatin1(sequence)));
}

// A video player that writes the arguments it was given into a file beside it.
QString standInPlayer(const QDir &folder, const QByteArray &interpreter = "/bin/sh")
{
    QFile script(folder.filePath(u"mpv"_qs));
    if (!script.open(QIODevice::WriteOnly) ||
        script.write("#!" + interpreter + "\nprintf '%s\\0' \"$@\" > \"$0.args\"\n") < 0 ||
        !script.setPermissions(QFileDevice::Permissions(0x7755)))
        qFatal("cannot write the stand-in player");
    return script.fileName();
}

} // namespace

class TestBrowserHabits : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    void tabKeys_passOverTabsSwitchedOff()
    {
        QList<int> states(18, 0);
        for (const int site : {0, 5, 6, 7, 8})
            states[site] = 1;
        WindowFixture fixture({{u"svng.msf"_qs, settingsBytes(states)}});
        fixture.showActive();
        QTabWidget *tabs = fixture.tabs();
        tabs->setCurrentIndex(0);
        keys(fixture, "Ctrl+Tab");
        QCOMPARE(tabs->currentIndex(), 5);
        keys(fixture, "Ctrl+Shift+Tab");
        QCOMPARE(tabs->currentIndex(), 0);
        keys(fixture, "Ctrl+PgUp"); // round the strip
        QCOMPARE(tabs->currentIndex(), 11);
        keys(fixture, "Ctrl+PgDown", 2);
        QCOMPARE(tabs->currentIndex(), 5);
        keys(fixture, "Alt+3"); // switched off
        QCOMPARE(tabs->currentIndex(), 5);
        keys(fixture, "Alt+9");
        QCOMPARE(tabs->currentIndex(), 8);
    }

    void searchHistory_offersEarlierSearchesNewestFirst_untilCleared()
    {
        WindowFixture fixture;
        auto *box = fixture.find<QLineEdit>(u"Text1"_qs);
        for (const QString &text : {u"cats"_qs, u"dogs"_qs, u"Car chase"_qs, u"cats"_qs}) {
            box->setText(text);
            fixture.click(u"Command21"_qs);
        }
        restart(fixture);
        box = fixture.find<QLineEdit>(u"Text1"_qs);
        QCOMPARE(offers(box, u"ca"_qs), (QStringList{u"cats"_qs, u"Car chase"_qs}));
        QCOMPARE(fixture.fileBytes(u"searches.txt"_qs), QByteArray("cats\nCar chase\ndogs\n"));
        fixture.find<QAction>(u"clearHistory"_qs)->trigger();
        QCOMPARE(offers(box, u"c"_qs), QStringList());
        QCOMPARE(fixture.fileBytes(u"searches.txt"_qs), QByteArray());
    }

    void zoom_isKeptPerSiteAcrossRuns()
    {
        WindowFixture fixture({{u"svng.msf"_qs, settingsBytes(QList<int>(18, 1))}});
        fixture.showActive();
        fixture.tabs()->setCurrentIndex(3);
        fixture.view(3)->location = u"https://a.example/x"_qs;
        keys(fixture, "Ctrl++", 2);
        QCOMPARE(fixture.view(3)->zoom, 1.25);
        emit fixture.view(4)->zoomStepRequested(-1); // Ctrl and the wheel over another page
        QCOMPARE(fixture.view(4)->zoom, 0.9);
        QCOMPARE(fixture.fileBytes(u"zoom.ini"_qs), QByteArray("[zoom]\na.example=125\n"));

        restart(fixture);
        fixture.view(3)->location = u"https://a.example/other"_qs;
        fixture.view(4)->location = u"https://b.example/"_qs;
        for (const int view : {3, 4})
            fixture.view(view)->report(BrowserView::LoadState::Loading, 10);
        QCOMPARE(fixture.view(3)->zoom, 1.25);
        QCOMPARE(fixture.view(4)->zoom, 1.0);
        fixture.tabs()->setCurrentIndex(3);
        keys(fixture, "Ctrl+0");
        QCOMPARE(fixture.fileBytes(u"zoom.ini"_qs), QByteArray("[zoom]\n"));

        // A damaged file is no zoom at all.
        WindowFixture damaged({{u"zoom.ini"_qs, "\xff\xfe[zoom]\na.example=9999\nb.example\n"}});
        damaged.view(2)->location = u"https://a.example/"_qs;
        damaged.view(2)->report(BrowserView::LoadState::Loading, 10);
        QCOMPARE(damaged.view(2)->zoom, 1.0);
    }

    void findBar_findsInTheSelectedPage_escCloses()
    {
        WindowFixture fixture({{u"svng.msf"_qs, settingsBytes(QList<int>(18, 1))}});
        fixture.showActive();
        fixture.tabs()->setCurrentIndex(2);
        keys(fixture, "Ctrl+F");
        auto *bar = fixture.find<QWidget>(u"findBar"_qs);
        QVERIFY(bar->isVisible());
        QTest::keyClicks(QApplication::focusWidget(), u"cat"_qs);
        emit fixture.view(2)->findFinished(2, 5);
        QCOMPARE(fixture.find<QLabel>(u"findMatches"_qs)->text(), u"2 of 5"_qs);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ShiftModifier);
        keys(fixture, "F3");
        emit fixture.view(2)->findFinished(0, 0);
        QCOMPARE(fixture.find<QLabel>(u"findMatches"_qs)->text(), u"No matches"_qs);
        fixture.view(2)->report(BrowserView::LoadState::Loading,
                                5); // Esc is the bar's all the same
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!bar->isVisible());
        QCOMPARE(fixture.log,
                 (QStringList{u"WebBrowser1(2) find c"_qs, u"WebBrowser1(2) find ca"_qs,
                              u"WebBrowser1(2) find cat"_qs, u"WebBrowser1(2) find cat backward"_qs,
                              u"WebBrowser1(2) find cat"_qs, u"WebBrowser1(2) find "_qs}));
    }

    void player_getsTheAddressAsOneArgument_data()
    {
        QTest::addColumn<QByteArray>("interpreter"); // empty: no player installed
        QTest::newRow("installed") << QByteArray("/bin/sh");
        QTest::newRow("cannot be started") << QByteArray("/nonexistent/sh");
        QTest::newRow("not installed") << QByteArray();
    }

    void player_getsTheAddressAsOneArgument()
    {
        QFETCH(QByteArray, interpreter);
        QTemporaryDir bin;
        const QByteArray path = qgetenv("PATH");
        const QString player =
            interpreter.isEmpty() ? QString() : standInPlayer(bin.path(), interpreter);
        qputenv("PATH", QFile::encodeName(bin.path()) + (interpreter.isEmpty() ? "" : ":" + path));
        WindowFixture fixture({{u"svng.msf"_qs, settingsBytes(QList<int>(18, 1))}});
        qputenv("PATH", path);
        auto *playPage = fixture.window->findChild<QAction *>(u"playPage"_qs);
        QCOMPARE(playPage != nullptr, !interpreter.isEmpty());
        QCOMPARE(fixture.view(5)->playerOffered, !interpreter.isEmpty());
        if (interpreter.isEmpty())
            return;

        const QString page = u"https://v.example/watch?v=1&t=2 'a' \"b\"; $(touch pwned)"_qs;
        fixture.tabs()->setCurrentIndex(5);
        fixture.view(5)->location = page;
        playPage->trigger();
        if (interpreter != "/bin/sh") {
            QVERIFY2(fixture.status().contains(u"could not be started"_qs),
                     qPrintable(fixture.status()));
            return;
        }
        const auto arguments = [&] {
            QFile file(player + u".args"_qs);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        QTRY_COMPARE_WITH_TIMEOUT(arguments(), QByteArray("--\0", 3) + page.toUtf8() + '\0', 20000);
        emit fixture.view(1)->playRequested(u"https://v.example/link"_qs); // a link's menu
        QTRY_COMPARE_WITH_TIMEOUT(arguments(), QByteArray("--\0https://v.example/link\0", 26),
                                  20000);
        QVERIFY(!QFile::exists(u"pwned"_qs));
    }
};

QTEST_MAIN(TestBrowserHabits)
#include "tst_browser_habits.moc"
