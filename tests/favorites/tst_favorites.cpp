#include "support/unprivileged_scope.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTreeWidget>

namespace {

const QByteArray ThreeFavorites("One\r\nhttp://1/\r\nTwo\r\nhttp://2/\r\nThree\r\nhttp://3/\r\n");

QTreeWidget *list(const WindowFixture &fixture)
{
    return fixture.find<QTreeWidget>(u"ListView4"_qs);
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
    void add_appendsTheSelectedViewsPageAndShowsTheList()
    {
        WindowFixture fixture({{u"svng.msf"_qs, settingsBytes(QList<int>(18, 1))},
                               {u"file.dtt"_qs, "Old\r\nhttp://old/\r\n"}});
        fixture.view(3)->pageTitle = u"abc, \"quoted\""_qs;
        fixture.view(3)->location = u"http://xyz/"_qs;
        for (const int tab : {3, 10, 9, 3}) { // on the notes tab, no view: an empty favorite
            fixture.tabs()->setCurrentIndex(tab);
            fixture.click(u"Command11"_qs);
            QCOMPARE(fixture.tabs()->currentIndex(), 9);
        }
        QCOMPARE(list(fixture)->topLevelItemCount(), 5);
        QCOMPARE(list(fixture)->topLevelItem(4)->text(0), u"abc, \"quoted\""_qs);
        QCOMPARE(fixture.fileBytes(u"file.dtt"_qs),
                 QByteArray("Old\r\nhttp://old/\r\nabc, \"quoted\"\r\nhttp://xyz/\r\n\r\n\r\n\r\n"
                            "\r\nabc, \"quoted\"\r\nhttp://xyz/\r\n"));
    }

    void delete_removesTheSelectedOneAndRewritesTheFile_data()
    {
        QTest::addColumn<QByteArray>("file"); // null: none, as at a first run
        QTest::addColumn<int>("selectedRow"); // -1: none
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray firstAndThird("One\r\nhttp://1/\r\nThree\r\nhttp://3/\r\n");
        QTest::newRow("DELETE") << ThreeFavorites << 1 << u"Command3"_qs << firstAndThird;
        QTest::newRow("&Delete") << ThreeFavorites << 1 << u"Delete"_qs << firstAndThird;
        QTest::newRow("none selected: rewritten whole")
            << QByteArray("One\nhttp://1/") << -1 << u"Command3"_qs
            << QByteArray("One\r\nhttp://1/\r\n");
        QTest::newRow("the only one")
            << QByteArray("One\r\nhttp://1/\r\n") << 0 << u"Delete"_qs << QByteArray("");
        QTest::newRow("first run: the empty list is written")
            << QByteArray() << -1 << u"Command3"_qs << QByteArray("");
    }

    void delete_removesTheSelectedOneAndRewritesTheFile()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, selectedRow);
        QFETCH(QString, trigger);
        WindowFixture fixture(file.isNull() ? QList<std::pair<QString, QByteArray>>()
                                            : QList{std::pair{u"file.dtt"_qs, file}});
        if (selectedRow >= 0)
            list(fixture)->setCurrentItem(list(fixture)->topLevelItem(selectedRow));
        if (trigger == u"Delete")
            fixture.find<QAction>(trigger)->trigger();
        else
            fixture.click(trigger);
        QTEST(fixture.fileBytes(u"file.dtt"_qs), "expected");
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
                    window.findChild<QTreeWidget *>(u"ListView4"_qs)->topLevelItemCount());
                QTest::mouseClick(window.findChild<QPushButton *>(u"Command11"_qs), Qt::LeftButton);
            }
        }
        QCOMPARE(countAtStart, (QList<int>{0, 1}));
        QVERIFY(QFile::exists(home.filePath(u"tst_favorites/file.dtt"_qs)));
    }

    void opening_showsTheAddressOnHome_data()
    {
        QTest::addColumn<QString>("opener");
        QTest::addColumn<int>("row"); // -1: none selected
        QTest::addColumn<QStringList>("loads");
        QTest::addColumn<QString>("homeCaption");
        const QStringList first{u"WebBrowser1(9) navigate http://1/"_qs};
        QTest::newRow("click") << u"click"_qs << 0 << first << u"HOME"_qs;
        QTest::newRow("Enter") << u"Enter"_qs << 0 << first << u"HOME"_qs;
        QTest::newRow("DISPLAY") << u"Command2"_qs << 0 << first << u"Favorites"_qs;
        QTest::newRow("&Display") << u"Display"_qs << 0 << first << u"Favorites"_qs;
        // An empty address is passed on; an empty title, or no selection, opens nothing.
        QTest::newRow("no address")
            << u"Command2"_qs << 2 << QStringList{u"WebBrowser1(9) navigate "_qs}
            << u"Favorites"_qs;
        QTest::newRow("no title") << u"Command2"_qs << 1 << QStringList() << u"HOME"_qs;
        QTest::newRow("none selected") << u"Display"_qs << -1 << QStringList() << u"HOME"_qs;
    }

    void opening_showsTheAddressOnHome()
    {
        QFETCH(QString, opener);
        QFETCH(int, row);
        QFETCH(QStringList, loads);
        WindowFixture fixture(
            {{u"file.dtt"_qs, "One\r\nhttp://1/\r\n\r\nhttp://untitled/\r\nNo address\r\n\r\n"}});
        fixture.tabs()->setCurrentIndex(9);
        fixture.showActive();
        QTreeWidget *favorites = list(fixture);
        if (row >= 0)
            favorites->setCurrentItem(favorites->topLevelItem(row));
        if (opener == u"click")
            QTest::mouseClick(favorites->viewport(), Qt::LeftButton, {},
                              centreOfRow(favorites, row));
        else if (opener == u"Enter")
            QTest::keyClick(favorites, Qt::Key_Return);
        else if (opener == u"Display")
            fixture.find<QAction>(opener)->trigger();
        else
            fixture.click(opener);
        QCOMPARE(fixture.log, loads);
        QCOMPARE(fixture.tabs()->currentIndex(), loads.isEmpty() ? 9 : 11);
        QTEST(fixture.tabs()->tabText(11), "homeCaption");
        QCOMPARE(fixture.tabs()->tabText(9), u"Favorites"_qs);
    }

    void rightButton_showsThePopUpOverItemsAndEmptySpace()
    {
        WindowFixture fixture({{u"file.dtt"_qs, ThreeFavorites}});
        fixture.tabs()->setCurrentIndex(9);
        fixture.showActive();
        QTreeWidget *favorites = list(fixture);
        auto *popUp = fixture.find<QMenu>(u"PopUp"_qs);
        const QPoint emptySpace(20, favorites->viewport()->height() - 5);
        for (const QPoint place : {centreOfRow(favorites, 2), emptySpace}) {
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
            QVERIFY(QFile::link(u"/dev/zero"_qs, folder.filePath(u"file.dtt"_qs)));
        });
        fixture.showActive();
        const QString notice = fixture.status();
        QVERIFY2(notice.contains(fixture.filePath(u"file.dtt"_qs)), qPrintable(notice));
        emit fixture.view(9)->statusTextChanged(u"Opening the home page"_qs);
        QCOMPARE(fixture.status(), notice);

        for (int add = 0; add < 2; ++add) {
            fixture.click(u"Command11"_qs);
            QVERIFY2(fixture.status().contains(u"not saved"_qs), qPrintable(fixture.status()));
        }
        QCOMPARE(list(fixture)->topLevelItemCount(), 2);
        QVERIFY(QFileInfo(fixture.filePath(u"file.dtt"_qs)).isSymLink());
        // The user has seen it: the pages report again.
        QTest::mouseClick(fixture.tabs()->tabBar(), Qt::LeftButton);
        fixture.tabs()->setCurrentIndex(11);
        emit fixture.view(9)->statusTextChanged(u"Done"_qs);
        QCOMPARE(fixture.status(), u"Done"_qs);
    }
};

QTEST_MAIN(TestFavorites)
#include "tst_favorites.moc"
