#include "support/unprivileged_scope.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QMenu>
#include <QTabBar>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

QTreeWidget *list(const WindowFixture &fixture)
{
    return fixture.find<QTreeWidget>(u"ListView4"_s);
}

QPoint centreOfRow(QTreeWidget *list, int row)
{
    return list->visualItemRect(list->topLevelItem(row)).center();
}

} // namespace

class TestFavorites : public QObject
{
    Q_OBJECT

private slots:
    void commands_addDeleteAndOpen_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("row"); // the one selected in the list; -1: none
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("loads");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("tabAfter");
        QTest::addColumn<QString>("homeCaption");
        const QByteArray three("One\r\nhttp://1/\r\n\r\nhttp://untitled/\r\nNo address\r\n\r\n");
        const QByteArray one("One\r\nhttp://1/\r\n");
        const QByteArray deleted("One\r\nhttp://1/\r\nNo address\r\n\r\n");
        const QStringList opened{u"WebBrowser1(9) navigate http://1/"_s};
        const QString home = u"HOME"_s, favorites = u"Favorites"_s;
        QTest::newRow("ADD on a site tab") << three << 3 << -1 << u"Command11"_s << QStringList()
                                           << three + "abc, \"quoted\"\r\nhttp://xyz/\r\n"
                                           << 4 << 9 << home;
        QTest::newRow("ADD a page without a title: kept under its address")
            << one << 4 << -1 << u"Command11"_s << QStringList()
            << one + "http://untitled.example/\r\nhttp://untitled.example/\r\n"
            << 2 << 9 << home;
        QTest::newRow("ADD on the notes tab: no page, nothing added")
            << three << 10 << -1 << u"Command11"_s << QStringList() << three << 3 << 10 << home;
        QTest::newRow("ADD on the favorites tab: no page, nothing added")
            << one << 9 << 0 << u"Command11"_s << QStringList() << one << 1 << 9 << home;
        QTest::newRow("DELETE") << three << 9 << 1 << u"Command3"_s << QStringList() << deleted << 2
                                << 9 << home;
        QTest::newRow("&Delete") << three << 9 << 1 << u"Delete"_s << QStringList() << deleted << 2
                                 << 9 << home;
        QTest::newRow("DELETE, none selected: rewritten whole")
            << QByteArray("One\nhttp://1/") << 9 << -1 << u"Command3"_s << QStringList() << one << 1
            << 9 << home;
        QTest::newRow("DELETE the only one")
            << one << 9 << 0 << u"Delete"_s << QStringList() << QByteArray("") << 0 << 9 << home;
        QTest::newRow("click") << three << 9 << 0 << u"click"_s << opened << three << 3 << 11
                               << home;
        QTest::newRow("Enter") << three << 9 << 0 << u"Enter"_s << opened << three << 3 << 11
                               << home;
        QTest::newRow("DISPLAY") << three << 9 << 0 << u"Command2"_s << opened << three << 3 << 11
                                 << favorites;
        QTest::newRow("&Display") << three << 9 << 0 << u"Display"_s << opened << three << 3 << 11
                                  << favorites;
        // An empty address is passed on; an empty title, or no selection, opens nothing.
        QTest::newRow("DISPLAY, no address")
            << three << 9 << 2 << u"Command2"_s << QStringList{u"WebBrowser1(9) navigate "_s}
            << three << 3 << 11 << favorites;
        QTest::newRow("DISPLAY, no title")
            << three << 9 << 1 << u"Command2"_s << QStringList() << three << 3 << 9 << home;
        QTest::newRow("&Display, none selected")
            << three << 9 << -1 << u"Display"_s << QStringList() << three << 3 << 9 << home;
    }

    void commands_addDeleteAndOpen()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, row);
        QFETCH(QString, command);
        WindowFixture fixture(
            {{u"svng.msf"_s, settingsBytes(QList<int>(18, 1))}, {u"file.dtt"_s, file}});
        fixture.view(3)->pageTitle = u"abc, \"quoted\""_s;
        fixture.view(3)->location = u"http://xyz/"_s;
        fixture.view(4)->location = u"http://untitled.example/"_s;
        QFETCH(int, tab);
        fixture.tabs()->setCurrentIndex(tab);
        fixture.showActive();
        QTreeWidget *favorites = list(fixture);
        if (row >= 0)
            favorites->setCurrentItem(favorites->topLevelItem(row));
        if (command == u"click")
            QTest::mouseClick(favorites->viewport(), Qt::LeftButton, {},
                              centreOfRow(favorites, row));
        else if (command == u"Enter")
            QTest::keyClick(favorites, Qt::Key_Return);
        else if (command.startsWith(u"Command"))
            fixture.click(command);
        else
            fixture.find<QAction>(command)->trigger();
        QTEST(fixture.log, "loads");
        QTEST(fixture.fileBytes(u"file.dtt"_s), "written");
        QTEST(favorites->topLevelItemCount(), "count");
        QTEST(fixture.tabs()->currentIndex(), "tabAfter");
        QTEST(fixture.tabs()->tabText(11), "homeCaption");
        QCOMPARE(fixture.tabs()->tabText(9), u"Favorites"_s);
        if (QByteArrayView(QTest::currentDataTag()).contains("no page"))
            QVERIFY2(fixture.status().contains(u"no page here"_s), qPrintable(fixture.status()));
    }

    void readOnlyProgramFolder_keepsThemInTheUsersDataFolderAcrossRestarts()
    {
        // As an installed program: its folder cannot be written, the user's data folder can.
        QTemporaryDir program, home;
        QVERIFY(QFile::setPermissions(home.path(), QFileDevice::Permissions(0x7777)));
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.path()));
        QVERIFY(makeReadOnly(program.path()));
        QStringList log;
        QList<int> countAtStart;
        {
            const UnprivilegedScope asOrdinaryUser;
            for (int run = 0; run < 2; ++run) {
                MainWindow window(program.path(), fakeBrowserViewFactory(&log));
                countAtStart.append(
                    window.findChild<QTreeWidget *>(u"ListView4"_s)->topLevelItemCount());
                WindowFixture::click(&window, u"Command11"_s);
            }
        }
        QCOMPARE(countAtStart, (QList<int>{0, 1}));
        QVERIFY(QFile::exists(home.filePath(u"tst_favorites/file.dtt"_s)));
    }

    void rightButton_showsThePopUpOverItemsAndEmptySpace()
    {
        WindowFixture fixture({{u"file.dtt"_s, "1\r\n1\r\n2\r\n2\r\n3\r\n3\r\n"}});
        fixture.tabs()->setCurrentIndex(9);
        fixture.showActive();
        QTreeWidget *favorites = list(fixture);
        auto *popUp = fixture.find<QMenu>(u"PopUp"_s);
        const int bottom = favorites->viewport()->height() - 5;
        for (const QPoint place : {centreOfRow(favorites, 2), QPoint(20, bottom)}) {
            QTest::mousePress(favorites->viewport(), Qt::RightButton, {}, place);
            QTRY_VERIFY(popUp->isVisible());
            popUp->hide();
            QCOMPARE(favorites->currentItem(), favorites->topLevelItem(2));
        }
        QTest::mousePress(favorites->viewport(), Qt::MiddleButton, {}, centreOfRow(favorites, 1));
        QVERIFY(!popUp->isVisible());
        QCOMPARE(fixture.log, QStringList());
    }

    void unreadableFile_isNeverReplaced_andItsNoticeOutlastsPageReports()
    {
        WindowFixture fixture({}, [](const QDir &folder) {
            QVERIFY(QFile::link(u"/dev/zero"_s, folder.filePath(u"file.dtt"_s)));
        });
        fixture.showActive();
        const QString notice = fixture.status(); // that it names the file: in the start-up tests
        emit fixture.view(9)->statusTextChanged(u"Opening the home page"_s);
        QCOMPARE(fixture.status(), notice);

        fixture.view(3)->location = u"http://a.example/"_s;
        for (int add = 0; add < 2; ++add) {
            fixture.tabs()->setCurrentIndex(3);
            fixture.click(u"Command11"_s);
            QVERIFY2(fixture.status().contains(u"not saved"_s), qPrintable(fixture.status()));
        }
        QCOMPARE(list(fixture)->topLevelItemCount(), 2);
        QVERIFY(QFileInfo(fixture.filePath(u"file.dtt"_s)).isSymLink());
        // The user has seen it: the pages report again.
        QTest::mouseClick(fixture.tabs()->tabBar(), Qt::LeftButton);
        fixture.tabs()->setCurrentIndex(11);
        emit fixture.view(9)->statusTextChanged(u"Done"_s);
        QCOMPARE(fixture.status(), u"Done"_s);
    }
};

QTEST_MAIN(TestFavorites)
#include "tst_favorites.moc"
