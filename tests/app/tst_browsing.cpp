#include "browsing/download_folder.h"
#include "browsing/download_name.h"
#include "search/search_history.h"
#include "support/window_fixture.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

using State = BrowserView::LoadState;

// The view a toolbar command acts on, by tab: the tab's own, none on the notes tab; Refresh alone
// reaches the home view from the favorites tab.
int expectedView(const QString &operation, int tab)
{
    if (tab < 9)
        return tab;
    if (tab == 11 || (tab == 9 && operation == u"refresh"))
        return 9;
    return -1;
}

std::unique_ptr<WindowFixture> shownWindow()
{
    auto fixture = std::make_unique<WindowFixture>(
        QList{std::pair{u"svng.msf"_s, settingsBytes(QList<int>(18, 1))}});
    fixture->showActive();
    return fixture;
}

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

void keys(const WindowFixture &fixture, QAnyStringView sequence)
{
    QTest::keySequence(fixture.window.get(), QKeySequence(sequence.toString()));
}

// A video player that writes the arguments it was given into a file beside it.
QString standInPlayer(const QDir &folder, const QByteArray &interpreter = "/bin/sh")
{
    QFile script(folder.filePath(u"mpv"_s));
    if (!script.open(QIODevice::WriteOnly) ||
        script.write("#!" + interpreter + "\nprintf '%s\\0' \"$@\" > \"$0.args\"\n") < 0 ||
        !script.setPermissions(QFileDevice::Permissions(0x7755)))
        qFatal("cannot write the stand-in player");
    return script.fileName();
}

} // namespace

class TestBrowsing : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    // A site proposes a download's name; the name never leaves the folder, hides or runs.
    void downloadName_isPlainAndNeverRuns_data()
    {
        QTest::addColumn<QString>("proposed");
        QTest::addColumn<QString>("saved");
        QTest::newRow("plain") << u"clip.mp4"_s << u"clip.mp4"_s;
        QTest::newRow("up the tree") << u"../../x.mp4"_s << u"x.mp4"_s;
        QTest::newRow("absolute") << u"/home/u/.bashrc"_s << u"bashrc"_s;
        QTest::newRow("backslashes") << u"..\\..\\a.txt"_s << u"a.txt"_s;
        QTest::newRow("hidden") << u"...profile"_s << u"profile"_s;
        QTest::newRow("desktop entry") << u"start.DESKTOP"_s << u"start.DESKTOP.download"_s;
        QTest::newRow("script") << u"x.sh"_s << u"x.sh.download"_s;
        QTest::newRow("control characters") << u"a\nb\u0007.txt"_s << u"ab.txt"_s;
        QTest::newRow("nothing left") << u"../.."_s << u"download"_s;
    }

    void downloadName_isPlainAndNeverRuns()
    {
        QFETCH(QString, proposed);
        QFETCH(QString, saved);
        QCOMPARE(DownloadName::safe(proposed), saved);
        // Never over another file, a dangling link included, the engine's partial file of one,
        // or a download of any tab still coming under the name; a name is free again once its
        // download has ended.
        QTemporaryDir folder;
        QVERIFY(QFile::link(u"/nonexistent"_s, folder.filePath(saved)));
        DownloadFolder downloads;
        const QString first = downloads.claim(folder.path(), saved);
        QVERIFY2(first.contains(u" (1)"_s), qPrintable(first));
        QFile partial(
            folder.filePath(QString(first).replace(u" (1)"_s, u" (2)"_s) + u".crdownload"_s));
        QVERIFY(partial.open(QIODevice::WriteOnly));
        const QString second = downloads.claim(folder.path(), saved);
        QVERIFY2(second.contains(u" (3)"_s), qPrintable(second));
        downloads.release(folder.path(), second);
        QCOMPARE(downloads.claim(folder.path(), saved), second);
    }

    void commands_actOnTheSelectedTabsViewOnly_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QString>("operation");
        const QList<std::tuple<const char *, const char *, const char *>> commands{
            {"Command1", "Alt+Left", "goBack"},
            {"Command16", "Alt+Right", "goForward"},
            {"Command17", "Esc", "stop"},
            {"Command18", "F5", "refresh"},
            {"Command19", "Ctrl+P", "printWithDialog"}};
        for (const auto &[button, key, operation] : commands) {
            QTest::newRow(button) << QString::fromLatin1(button) << QString::fromLatin1(operation);
            QTest::newRow(key) << QString::fromLatin1(key) << QString::fromLatin1(operation);
        }
        QTest::newRow("&Print") << u"print"_s << u"printWithDialog"_s;
        QTest::newRow("Ctrl+R") << u"Ctrl+R"_s << u"refresh"_s;
        QTest::newRow("mouse back") << u"BackButton"_s << u"goBack"_s;
        QTest::newRow("mouse forward") << u"ForwardButton"_s << u"goForward"_s;
    }

    void commands_actOnTheSelectedTabsViewOnly()
    {
        QFETCH(QString, trigger);
        QFETCH(QString, operation);
        const auto fixture = shownWindow();
        for (int view = 0; view < 10; ++view)
            fixture->view(view)->report(State::Loading, 50);
        for (const int tab : {0, 5, 8, 9, 10, 11}) {
            fixture->tabs()->setCurrentIndex(tab);
            if (trigger == u"print")
                fixture->find<QAction>(trigger)->trigger();
            else if (trigger.endsWith(u"Button"))
                QTest::mouseClick(fixture->view(tab < 9 ? tab : 9),
                                  trigger == u"BackButton" ? Qt::BackButton : Qt::ForwardButton);
            else if (trigger.startsWith(u"Command"))
                fixture->click(trigger);
            else
                keys(*fixture, trigger);
            const int view = expectedView(operation, tab);
            // Over the notes and favorites tabs there is no page for the mouse buttons to act on.
            const bool acts = view >= 0 && !(trigger.endsWith(u"Button") && tab != 11 && tab > 8);
            QCOMPARE(fixture->log,
                     acts ? QStringList{u"WebBrowser1(%1) %2"_s.arg(view).arg(operation)}
                          : QStringList());
            fixture->log.clear();
        }
        // Once the page has loaded, Esc is the page's own (to close its menus, say).
        if (trigger == u"Esc") {
            fixture->tabs()->setCurrentIndex(3);
            fixture->view(3)->report(State::Loaded, 100);
            fixture->view(3)->setFocus();
            QTest::keyClick(fixture->view(3), Qt::Key_Escape);
            QCOMPARE(fixture->log, QStringList{u"WebBrowser1(3) key Esc"_s});
        }
    }

    void addressAndStatus_followTheSelectedTab_anEditHoldsTheBoxUntilSentOrLeft()
    {
        const auto fixture = shownWindow();
        auto *address = fixture->find<QComboBox>(u"Combo1"_s);
        fixture->view(2)->location = u"http://two/"_s;
        fixture->tabs()->setCurrentIndex(2);
        emit fixture->view(7)->statusTextChanged(u"Opening http://seven/"_s);
        emit fixture->view(7)->progressChanged(30, 100);
        QCOMPARE(fixture->status(), u"Opening http://seven/"_s);
        QCOMPARE(address->currentText(), u"http://two/"_s);

        // Each tab shows its own page's address at once, the program's own pages too,
        // a tab without a page nothing.
        fixture->tabs()->setCurrentIndex(11);
        QCOMPARE(address->currentText(), u"reelhop:home"_s);
        emit fixture->view(3)->progressChanged(40, 100);
        QCOMPARE(address->currentText(), u"reelhop:home"_s);
        for (const int tab : {9, 10}) {
            fixture->tabs()->setCurrentIndex(tab);
            emit fixture->view(7)->statusTextChanged(u"Done"_s);
            emit fixture->view(7)->progressChanged(100, 100);
            QCOMPARE(fixture->status(), u"Opening http://seven/"_s);
            QCOMPARE(address->currentText(), QString());
        }

        // What the user types outlasts the pages' reports until it is sent.
        fixture->tabs()->setCurrentIndex(4);
        keys(*fixture, "Ctrl+L");
        QTest::keyClicks(QApplication::focusWidget(), u"new.exa"_s);
        emit fixture->view(6)->progressChanged(50, 100);
        QTest::keyClicks(QApplication::focusWidget(), u"mple"_s);
        QCOMPARE(address->currentText(), u"new.example"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(fixture->log, QStringList{u"WebBrowser1(4) navigate new.example"_s});
        fixture->view(4)->location = u"http://new.example/"_s;
        emit fixture->view(4)->progressChanged(10, 100);
        QCOMPARE(address->currentText(), u"http://new.example/"_s);
        // An edit given up when the user went elsewhere holds the box no longer.
        QTest::keyClicks(QApplication::focusWidget(), u"/abandoned"_s);
        keys(*fixture, "Ctrl+K");
        keys(*fixture, "Ctrl+L");
        emit fixture->view(4)->progressChanged(20, 100);
        QCOMPARE(address->currentText(), u"http://new.example/"_s);
        // One left for another tab stays with its tab; typing the home page's name opens it.
        QTest::keyClicks(QApplication::focusWidget(), u"/half"_s);
        QTest::mouseClick(fixture->tabs()->tabBar(), Qt::LeftButton, {},
                          fixture->tabs()->tabBar()->tabRect(2).center());
        QCOMPARE(address->currentText(), u"http://two/"_s);
        emit fixture->view(4)->progressChanged(30, 100);
        fixture->tabs()->setCurrentIndex(4);
        QCOMPARE(address->currentText(), u"http://new.example//half"_s);
        // The home page's former address, as older favorites hold it, opens it too.
        address->setEditText(u"qrc:/home/index.html"_s);
        fixture->click(u"Command22"_s);
        QCOMPARE(fixture->view(4)->location, u"reelhop:home"_s);
        // The box's list holds this run's addresses, newest first, each once, twenty at most.
        for (int opened = 0; opened < 22; ++opened) {
            address->setEditText(u"a%1.example"_s.arg(opened % 21));
            fixture->click(u"Command22"_s);
        }
        QCOMPARE(address->count(), 20);
        QCOMPARE(address->itemText(0), u"a0.example"_s);
        QCOMPARE(address->itemText(1), u"a20.example"_s);
        address->setEditText(u"a5.example"_s);
        fixture->click(u"Command22"_s);
        QCOMPARE(address->count(), 20);
        QCOMPARE(address->itemText(0), u"a5.example"_s);
        QCOMPARE(address->findText(u"a5.example"_s, Qt::MatchExactly), 0);
        QCOMPARE(address->itemText(19), u"a2.example"_s); // moved up, nothing dropped
    }

    void loadStates_showOnTabsAndInTheProgressPanel_soundFollowsTheTab()
    {
        const auto fixture = shownWindow();
        QTabWidget *tabs = fixture->tabs();
        auto *progress = fixture->find<QLabel>(u"Panel2"_s);
        tabs->setCurrentIndex(1);
        fixture->view(1)->report(State::Loading, 40);
        QCOMPARE(progress->text(), u"40%"_s);
        // Each state by a picture of its own.
        const auto picture = [tabs](int tab) { return tabs->tabIcon(tab).pixmap(16).toImage(); };
        const QImage loading = picture(1);
        fixture->view(1)->report(State::Loaded, 100);
        QCOMPARE(progress->text(), QString());
        // A site that does not answer looks failed, not loading, and says why once it is in sight.
        fixture->view(2)->report(State::Failed, 10, u"Connection refused"_s);
        QVERIFY(!loading.isNull() && !picture(1).isNull() && !picture(2).isNull());
        QVERIFY(loading != picture(1) && loading != picture(2) && picture(1) != picture(2));
        QVERIFY(!fixture->status().contains(u"Connection refused"_s));
        tabs->setCurrentIndex(2);
        QVERIFY2(fixture->status().contains(u"Connection refused"_s),
                 qPrintable(fixture->status()));

        for (int view = 0; view < 10; ++view)
            QCOMPARE(fixture->view(view)->muted, view != 2);
        // Switching the selected tab off never passes through the next one, failed as it is.
        tabs->setCurrentIndex(1);
        emit fixture->view(1)->statusTextChanged(u"Done"_s);
        fixture->window->setTabAvailable(1, false);
        QVERIFY(!fixture->status().contains(u"Connection refused"_s));
        QCOMPARE(fixture->view(2)->muted, true);
        tabs->setCurrentIndex(11);
        for (int view = 0; view < 10; ++view)
            QCOMPARE(fixture->view(view)->muted, view != 9);
        // The home view's state shows on HOME.
        fixture->view(9)->report(State::Loading, 5);
        QVERIFY(!tabs->tabIcon(11).isNull() && tabs->tabIcon(9).isNull());

        // Ctrl+D adds the page in sight to the favorites.
        keys(*fixture, "Ctrl+D");
        QCOMPARE(tabs->currentIndex(), 9);
        QCOMPARE(fixture->find<QTreeWidget>(u"ListView4"_s)->topLevelItemCount(), 1);
    }

    void focusKeys_putTheFocusInTheirBoxWithItsTextSelected_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("box"); // the line edit the keys go to
        QTest::newRow("address") << u"Ctrl+L"_s << u"Combo1"_s;
        QTest::newRow("search") << u"Ctrl+K"_s << u"Text1"_s;
        QTest::newRow("find") << u"Ctrl+F"_s << u"findText"_s;
    }

    // As in browsers: what is typed next replaces what the box held.
    void focusKeys_putTheFocusInTheirBoxWithItsTextSelected()
    {
        QFETCH(QString, keys);
        QFETCH(QString, box);
        WindowFixture fixture;
        fixture.showActive();
        QWidget *control = fixture.find<QWidget>(box);
        auto *edit = qobject_cast<QComboBox *>(control) ? qobject_cast<QComboBox *>(control)->lineEdit()
                                                         : qobject_cast<QLineEdit *>(control);
        edit->setText(u"held before"_s);
        // Coming from elsewhere, and again with the box already holding the focus.
        for (int time = 0; time < 2; ++time) {
            edit->deselect();
            QTest::keySequence(fixture.window.get(), QKeySequence(keys));
            QTRY_VERIFY(edit->hasFocus());
            QCOMPARE(edit->selectedText(), u"held before"_s);
        }
    }

    void tabKeys_passOverTabsSwitchedOff()
    {
        QList<int> states(18, 0);
        for (const int site : {0, 5, 6, 7, 8})
            states[site] = 1;
        WindowFixture fixture({{u"svng.msf"_s, settingsBytes(states)}});
        fixture.showActive();
        QTabWidget *tabs = fixture.tabs();
        tabs->setCurrentIndex(0);
        // Round the strip past its ends (the results last); a tab switched off (3) is not there
        // to go to.
        const QList<std::pair<const char *, int>> steps{
            {"Ctrl+Tab", 5},    {"Ctrl+Shift+Tab", 0}, {"Ctrl+PgUp", 12}, {"Ctrl+PgDown", 0},
            {"Ctrl+PgDown", 5}, {"Alt+3", 5},          {"Alt+9", 8},      {"Alt+0", 12}};
        for (const auto &[sequence, tab] : steps) {
            keys(fixture, sequence);
            QCOMPARE(tabs->currentIndex(), tab);
        }
    }

    void searchHistory_offersEarlierSearchesNewestFirst_untilCleared()
    {
        WindowFixture fixture;
        auto *box = fixture.find<QLineEdit>(u"Text1"_s);
        for (const QString &text : {u"cats"_s, u"dogs"_s, u"Car chase"_s, u"cats"_s}) {
            box->setText(text);
            fixture.click(u"Command21"_s);
        }
        restart(fixture);
        box = fixture.find<QLineEdit>(u"Text1"_s);
        QCOMPARE(offers(box, u"ca"_s), (QStringList{u"cats"_s, u"Car chase"_s}));
        QCOMPARE(fixture.fileBytes(u"searches.txt"_s), QByteArray("cats\nCar chase\ndogs\n"));
        // Enter while the offers show searches the text typed.
        QAbstractItemView *shown = box->completer()->popup();
        QTRY_VERIFY(shown->isVisible());
        QTest::keyClick(shown, Qt::Key_Return);
        QTRY_COMPARE(fixture.fileBytes(u"searches.txt"_s),
                     QByteArray("ca\ncats\nCar chase\ndogs\n"));
        // At most a hundred, the newest kept.
        QStringList full;
        for (int search = 0; search < SearchHistory::MaxSearches; ++search)
            full.append(u"s%1"_s.arg(search));
        const QStringList capped = SearchHistory::withSearch(full, u"newest"_s);
        QCOMPARE(capped.size(), SearchHistory::MaxSearches);
        QCOMPARE(capped.constFirst(), u"newest"_s);
        QCOMPARE(capped.constLast(), u"s98"_s);
        fixture.find<QAction>(u"clearHistory"_s)->trigger();
        QVERIFY2(fixture.status().contains(u"cleared"_s), qPrintable(fixture.status()));
        QCOMPARE(offers(box, u"c"_s), QStringList());
        QVERIFY(!box->completer()->popup()->isVisible());
        QCOMPARE(fixture.fileBytes(u"searches.txt"_s), QByteArray());
    }

    void pageTools_zoomIsKeptPerSiteAcrossRuns_findLooksInTheSelectedPage()
    {
        const auto fixture = shownWindow();
        fixture->tabs()->setCurrentIndex(3);
        fixture->view(3)->location = u"https://a.example/x"_s;
        keys(*fixture, "Ctrl++");
        keys(*fixture, "Ctrl++");
        QCOMPARE(fixture->view(3)->zoom, 1.25);
        emit fixture->view(4)->zoomStepRequested(-1); // Ctrl and the wheel over another page
        QCOMPARE(fixture->view(4)->zoom, 0.9);
        QCOMPARE(fixture->fileBytes(u"zoom.ini"_s), QByteArray("[zoom]\na.example=125\n"));

        restart(*fixture);
        fixture->view(3)->location = u"https://a.example/other"_s;
        fixture->view(4)->location = u"https://b.example/"_s;
        for (const int view : {3, 4})
            fixture->view(view)->report(State::Loading, 10);
        QCOMPARE(fixture->view(3)->zoom, 1.25);
        QCOMPARE(fixture->view(4)->zoom, 1.0);
        fixture->tabs()->setCurrentIndex(3);
        keys(*fixture, "Ctrl+0");
        QCOMPARE(fixture->fileBytes(u"zoom.ini"_s), QByteArray("[zoom]\n"));

        // Find: in the selected page, Esc closes the bar.
        fixture->log.clear();
        fixture->tabs()->setCurrentIndex(2);
        keys(*fixture, "Ctrl+F");
        auto *bar = fixture->find<QWidget>(u"findBar"_s);
        QVERIFY(bar->isVisible());
        QTest::keyClicks(QApplication::focusWidget(), u"cat"_s);
        emit fixture->view(2)->findFinished(2, 5);
        QCOMPARE(fixture->find<QLabel>(u"findMatches"_s)->text(), u"2 of 5"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ShiftModifier);
        keys(*fixture, "F3");
        emit fixture->view(2)->findFinished(0, 0);
        QCOMPARE(fixture->find<QLabel>(u"findMatches"_s)->text(), u"No matches"_s);
        // Esc is the bar's all the same, even while the page loads.
        fixture->view(2)->report(State::Loading, 5);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!bar->isVisible());
        QCOMPARE(fixture->log,
                 (QStringList{u"WebBrowser1(2) find c"_s, u"WebBrowser1(2) find ca"_s,
                              u"WebBrowser1(2) find cat"_s, u"WebBrowser1(2) find cat backward"_s,
                              u"WebBrowser1(2) find cat"_s, u"WebBrowser1(2) find "_s}));
        // The bar closes with its tab; F3 then never looks in the page left behind.
        keys(*fixture, "Ctrl+F");
        QTest::keyClicks(QApplication::focusWidget(), u"dog"_s);
        fixture->tabs()->setCurrentIndex(3);
        QVERIFY(!bar->isVisible());
        fixture->log.clear();
        keys(*fixture, "F3");
        QVERIFY2(!fixture->log.join(u'\n').contains(u"WebBrowser1(2)"_s),
                 qPrintable(fixture->log.join(u'\n')));
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
        WindowFixture fixture({{u"svng.msf"_s, settingsBytes(QList<int>(18, 1))}});
        qputenv("PATH", path);
        auto *playPage = fixture.window->findChild<QAction *>(u"playPage"_s);
        QCOMPARE(playPage != nullptr, !interpreter.isEmpty());
        QCOMPARE(fixture.view(5)->playerOffered, !interpreter.isEmpty());
        if (interpreter.isEmpty())
            return;

        // Through a shell, the player would get these words in pieces, not the one argument.
        const QString page = u"https://v.example/watch?v=1&t=2 'a' \"b\"; $(touch pwned)"_s;
        fixture.tabs()->setCurrentIndex(5);
        fixture.view(5)->location = page;
        playPage->trigger();
        if (interpreter != "/bin/sh") {
            QVERIFY2(fixture.status().contains(u"could not be started"_s),
                     qPrintable(fixture.status()));
            return;
        }
        const auto arguments = [&] {
            QFile file(player + u".args"_s);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        QTRY_COMPARE_WITH_TIMEOUT(arguments(), QByteArray("--\0", 3) + page.toUtf8() + '\0', 20000);
        emit fixture.view(1)->playRequested(u"https://v.example/link"_s); // a link's menu
        QTRY_COMPARE_WITH_TIMEOUT(arguments(), QByteArray("--\0https://v.example/link\0", 26),
                                  20000);
        // The notes and the program's own page are nothing the player can open: it says so.
        for (const int tab : {10, 11}) {
            fixture.tabs()->setCurrentIndex(tab);
            playPage->trigger();
            QVERIFY2(fixture.status().contains(u"no web page here"_s),
                     qPrintable(fixture.status()));
            QTest::mouseClick(fixture.tabs()->tabBar(), Qt::LeftButton); // the user has read it
        }
        QCOMPARE(arguments(), QByteArray("--\0https://v.example/link\0", 26));
    }
};

QTEST_MAIN(TestBrowsing)
#include "tst_browsing.moc"
