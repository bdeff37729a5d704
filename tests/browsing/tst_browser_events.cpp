#include "support/window_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

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
        QList{std::pair{u"svng.msf"_qs, settingsBytes(QList<int>(18, 1))}});
    fixture->showActive();
    return fixture;
}

} // namespace

class TestBrowserEvents : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

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
        QTest::newRow("&Print") << u"print"_qs << u"printWithDialog"_qs;
        QTest::newRow("Ctrl+R") << u"Ctrl+R"_qs << u"refresh"_qs;
        QTest::newRow("mouse back") << u"BackButton"_qs << u"goBack"_qs;
        QTest::newRow("mouse forward") << u"ForwardButton"_qs << u"goForward"_qs;
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
                QTest::keySequence(fixture->window.get(), QKeySequence(trigger));
            const int view = expectedView(operation, tab);
            // Over the notes and favorites tabs there is no page for the mouse buttons to act on.
            const bool acts = view >= 0 && !(trigger.endsWith(u"Button") && tab != 11 && tab > 8);
            QCOMPARE(fixture->log,
                     acts ? QStringList{u"WebBrowser1(%1) %2"_qs.arg(view).arg(operation)}
                          : QStringList());
            fixture->log.clear();
        }
        // Once the page has loaded, Esc is the page's own (to close its menus, say).
        if (trigger == u"Esc") {
            fixture->tabs()->setCurrentIndex(3);
            fixture->view(3)->report(State::Loaded, 100);
            fixture->view(3)->setFocus();
            QTest::keyClick(fixture->view(3), Qt::Key_Escape);
            QCOMPARE(fixture->log, QStringList{u"WebBrowser1(3) key Esc"_qs});
        }
    }

    void statusAndProgress_ofAnyView_followTheSelectedTab()
    {
        const auto fixture = shownWindow();
        auto *address = fixture->find<QComboBox>(u"Combo1"_qs);
        fixture->view(2)->location = u"http://two/"_qs;
        fixture->tabs()->setCurrentIndex(2);
        emit fixture->view(7)->statusTextChanged(u"Opening http://seven/"_qs);
        emit fixture->view(7)->progressChanged(30, 100);
        QCOMPARE(fixture->status(), u"Opening http://seven/"_qs);
        QCOMPARE(address->currentText(), u"http://two/"_qs);

        // A new tab shows nothing new until a view reports.
        fixture->tabs()->setCurrentIndex(11);
        QCOMPARE(address->currentText(), u"http://two/"_qs);
        emit fixture->view(3)->progressChanged(40, 100);
        QCOMPARE(address->currentText(), fixture->view(9)->location);
        for (const int tab : {9, 10}) {
            fixture->tabs()->setCurrentIndex(tab);
            emit fixture->view(7)->statusTextChanged(u"Done"_qs);
            emit fixture->view(7)->progressChanged(100, 100);
            QCOMPARE(fixture->status(), u"Opening http://seven/"_qs);
            QCOMPARE(address->currentText(), fixture->view(9)->location);
        }
    }

    void typedAddress_survivesProgressUntilSent()
    {
        const auto fixture = shownWindow();
        fixture->tabs()->setCurrentIndex(4);
        fixture->view(4)->location = u"http://four/"_qs;
        auto *address = fixture->find<QComboBox>(u"Combo1"_qs);
        QTest::keySequence(fixture->window.get(), QKeySequence(u"Ctrl+L"_qs));
        QTest::keyClicks(QApplication::focusWidget(), u"new.exa"_qs);
        emit fixture->view(6)->progressChanged(50, 100);
        QTest::keyClicks(QApplication::focusWidget(), u"mple"_qs);
        QCOMPARE(address->currentText(), u"new.example"_qs);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(fixture->log, QStringList{u"WebBrowser1(4) navigate new.example"_qs});
        fixture->view(4)->location = u"http://new.example/"_qs;
        emit fixture->view(4)->progressChanged(10, 100);
        QCOMPARE(address->currentText(), u"http://new.example/"_qs);

        // An edit given up when the user went elsewhere holds the box no longer.
        QTest::keyClicks(QApplication::focusWidget(), u"/abandoned"_qs);
        QTest::keySequence(fixture->window.get(), QKeySequence(u"Ctrl+K"_qs));
        QTest::keySequence(fixture->window.get(), QKeySequence(u"Ctrl+L"_qs));
        emit fixture->view(4)->progressChanged(20, 100);
        QCOMPARE(address->currentText(), u"http://new.example/"_qs);
    }

    void loadStates_showOnTabsAndInTheProgressPanel_soundFollowsTheTab()
    {
        const auto fixture = shownWindow();
        QTabWidget *tabs = fixture->tabs();
        auto *progress = fixture->find<QLabel>(u"Panel2"_qs);
        tabs->setCurrentIndex(1);
        fixture->view(1)->report(State::Loading, 40);
        QCOMPARE(progress->text(), u"40%"_qs);
        const qint64 loading = tabs->tabIcon(1).cacheKey();
        fixture->view(1)->report(State::Loaded, 100);
        QCOMPARE(progress->text(), QString());
        // A site that does not answer looks failed, not loading, and says why once it is in sight.
        fixture->view(2)->report(State::Failed, 10, u"Connection refused"_qs);
        QVERIFY(!tabs->tabIcon(1).isNull() && !tabs->tabIcon(2).isNull());
        QCOMPARE((QSet<qint64>{loading, tabs->tabIcon(1).cacheKey(), tabs->tabIcon(2).cacheKey()})
                     .size(),
                 3);
        QVERIFY(!fixture->status().contains(u"Connection refused"_qs));
        tabs->setCurrentIndex(2);
        QVERIFY2(fixture->status().contains(u"Connection refused"_qs),
                 qPrintable(fixture->status()));

        for (int view = 0; view < 10; ++view)
            QCOMPARE(fixture->view(view)->muted, view != 2);
        // Switching the selected tab off never passes through the next one, failed as it is.
        tabs->setCurrentIndex(1);
        emit fixture->view(1)->statusTextChanged(u"Done"_qs);
        fixture->window->setTabAvailable(1, false);
        QVERIFY(!fixture->status().contains(u"Connection refused"_qs));
        QCOMPARE(fixture->view(2)->muted, true);
        tabs->setCurrentIndex(11);
        for (int view = 0; view < 10; ++view)
            QCOMPARE(fixture->view(view)->muted, view != 9);
        // The home view's state shows on HOME.
        fixture->view(9)->report(State::Loading, 5);
        QVERIFY(!tabs->tabIcon(11).isNull() && tabs->tabIcon(9).isNull());

        // Ctrl+D adds the page in sight to the favorites.
        QTest::keySequence(fixture->window.get(), QKeySequence(u"Ctrl+D"_qs));
        QCOMPARE(tabs->currentIndex(), 9);
        QCOMPARE(fixture->find<QTreeWidget>(u"ListView4"_qs)->topLevelItemCount(), 1);
    }
};

QTEST_MAIN(TestBrowserEvents)
#include "tst_browser_events.moc"
