#include "blocking/blocker.h"
#include "settings/blocking_window.h"
#include "support/window_fixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

using Blocking::RequestType;

// The lists in use, the user's choices in blocking.ini and the Blocking window that changes them.
class BlockerTest : public QObject
{
    Q_OBJECT

private slots:
    void lists_blockTheirRules_andTheWindowTurnsThemOffAndSavesWhole()
    {
        QTemporaryDir folder;
        QDir(folder.path()).mkdir(u"filters"_qs);
        writeFile(folder.filePath(u"filters/mine.txt"_qs), "||ads.test^\nexample.com##+js(x)\n");
        writeFile(folder.filePath(u"filters/binary.txt"_qs), QByteArray("\0\1\2", 3));
        Blocker blocker(folder.path(), {});
        loaded(blocker);
        const QUrl ad(u"https://ads.test/a.js"_qs);
        const QUrl page(u"https://videos.example/"_qs);
        QCOMPARE(blocker.blockingRule(ad, page, RequestType::Script),
                 u"||ads.test^ (filters/mine.txt)"_qs);

        BlockingWindow window(&blocker);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *lists = window.findChild<QTreeWidget *>(u"blockingLists"_qs);
        QCOMPARE(lists->topLevelItemCount(), 2);
        QTreeWidgetItem *mine = lists->findItems(u"filters/mine.txt"_qs, Qt::MatchExactly)[0];
        QCOMPARE(mine->text(1) + u' ' + mine->text(2), u"1 1"_qs); // one rule, one skipped
        QCOMPARE(lists->findItems(u"filters/binary.txt"_qs, Qt::MatchExactly)[0]->text(1),
                 u"not read"_qs);

        mine->setCheckState(0, Qt::Unchecked);
        loaded(blocker);
        QCOMPARE(blocker.blockingRule(ad, page, RequestType::Script), QString());
        QCOMPARE(
            fileBytes(folder.filePath(u"blocking.ini"_qs)),
            QByteArray("[blocking]\nenabled=true\nlists off=filters/mine.txt\nallowed sites=\n"));

        // The off switch, and a site allowed from the window's owner, saved whole.
        lists->findItems(u"filters/mine.txt"_qs, Qt::MatchExactly)[0]->setCheckState(0,
                                                                                     Qt::Checked);
        loaded(blocker);
        QVERIFY(blocker.setAllowed(QUrl(u"https://www.news.example.co.uk/x"_qs), true));
        QVERIFY(blocker.isAllowed(QUrl(u"https://m.news.example.co.uk/"_qs)));
        // The window shows a site allowed elsewhere, and keeps it at its next save.
        QTRY_COMPARE(window.findChild<QListWidget *>(u"allowedSites"_qs)->count(), 1);
        clickBox(window.findChild<QCheckBox *>(u"blockingOn"_qs));
        QCOMPARE(fileBytes(folder.filePath(u"blocking.ini"_qs)),
                 QByteArray("[blocking]\nenabled=false\nlists off=\n"
                            "allowed sites=example.co.uk\n"));
        QCOMPARE(blocker.blockingRule(ad, page, RequestType::Script), QString());
    }

    void unreadableSettings_areNeverReplaced()
    {
        QTemporaryDir folder;
        QVERIFY(QFile::link(u"/dev/zero"_qs, folder.filePath(u"blocking.ini"_qs)));
        Blocker blocker(folder.path(), {});
        QSignalSpy said(&blocker, &Blocker::statusMessage);
        loaded(blocker);
        QVERIFY(said.size() >= 1);
        QVERIFY(said.constFirst().constFirst().toString().contains(
            folder.filePath(u"blocking.ini"_qs)));
        QVERIFY(!blocker.setAllowed(QUrl(u"https://a.example/"_qs), true));
        BlockingWindow window(&blocker);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        clickBox(window.findChild<QCheckBox *>(u"blockingOn"_qs));
        QVERIFY(!window.findChild<QLabel *>(u"failure"_qs)->isHidden());
        QVERIFY(QFileInfo(folder.filePath(u"blocking.ini"_qs)).isSymLink());
        QVERIFY(blocker.isAllowed(QUrl(u"https://a.example/"_qs))); // for this run all the same
    }

private:
    // On its box: the check box spans the window, its text does not.
    static void clickBox(QCheckBox *box)
    {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    }
    static void loaded(Blocker &blocker)
    {
        QSignalSpy done(&blocker, &Blocker::listsLoaded);
        blocker.loadLists();
        QVERIFY(done.wait(30000));
    }
    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    static QByteArray fileBytes(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

QTEST_MAIN(BlockerTest)
#include "tst_blocker.moc"
