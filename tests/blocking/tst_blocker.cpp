#include "blocking/blocker.h"
#include "settings/blocking_window.h"
#include "support/window_fixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

using Blocking::RequestType;

// The lists in use, the user's choices in blocking.ini and the Blocking window that changes them.
class BlockerTest : public QObject
{
    Q_OBJECT

private slots:
    void lists_blockTheirRules_andTheWindowTurnsThemOffAndSavesWhole()
    {
        QTemporaryDir folder;
        QDir(folder.path()).mkdir(u"filters"_s);
        writeFile(folder.filePath(u"filters/mine.txt"_s),
                  "||ads.test^\nexample.com##+js(x)\n||a.test^$csp=x\n||b.test^$CSP=y\n");
        writeFile(folder.filePath(u"filters/binary.txt"_s), QByteArray("\0\1\2", 3));
        Blocker blocker(folder.path(), {});
        loaded(blocker);
        const QUrl ad(u"https://ads.test/a.js"_s);
        const QUrl page(u"https://videos.example/"_s);
        QCOMPARE(blocker.blockingRule(ad, page, RequestType::Script),
                 u"||ads.test^ (filters/mine.txt)"_s);

        BlockingWindow window(&blocker);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *lists = window.findChild<QTreeWidget *>(u"blockingLists"_s);
        QCOMPARE(lists->topLevelItemCount(), 2);
        QTreeWidgetItem *mine = lists->findItems(u"filters/mine.txt"_s, Qt::MatchExactly)[0];
        QCOMPARE(mine->text(1) + u' ' + mine->text(2), u"1 3"_s); // one rule, three skipped
        // What they were skipped for, most often first.
        QCOMPARE(window.findChild<QLabel *>(u"skippedKinds"_s)->text(),
                 u"Rules skipped, by what they use: $csp 2, +js() 1"_s);
        QCOMPARE(lists->findItems(u"filters/binary.txt"_s, Qt::MatchExactly)[0]->text(1),
                 u"not read"_s);

        mine->setCheckState(0, Qt::Unchecked);
        loaded(blocker);
        QCOMPARE(blocker.blockingRule(ad, page, RequestType::Script), QString());
        QCOMPARE(
            fileBytes(folder.filePath(u"blocking.ini"_s)),
            QByteArray("[blocking]\nenabled=true\nlists off=filters/mine.txt\nallowed sites=\n"));

        // The off switch, and a site allowed from the window's owner, saved whole.
        lists->findItems(u"filters/mine.txt"_s, Qt::MatchExactly)[0]->setCheckState(0, Qt::Checked);
        loaded(blocker);
        QVERIFY(blocker.setAllowed(QUrl(u"https://www.news.example.co.uk/x"_s), true));
        QVERIFY(blocker.isAllowed(QUrl(u"https://m.news.example.co.uk/"_s)));
        // The window shows a site allowed elsewhere, and keeps it at its next save.
        QTRY_COMPARE(window.findChild<QListWidget *>(u"allowedSites"_s)->count(), 1);
        clickBox(window.findChild<QCheckBox *>(u"blockingOn"_s));
        QCOMPARE(fileBytes(folder.filePath(u"blocking.ini"_s)),
                 QByteArray("[blocking]\nenabled=false\nlists off=\n"
                            "allowed sites=example.co.uk\n"));
        QCOMPARE(blocker.blockingRule(ad, page, RequestType::Script), QString());
    }

    // A site is its registrable domain; a wider one an earlier version kept still counts.
    void allowedSites_areRegistrableDomains_andThoseKeptBeforeStillHold()
    {
        QTemporaryDir folder;
        writeFile(folder.filePath(u"blocking.ini"_s), "[blocking]\nallowed sites=github.io\n");
        Blocker blocker(folder.path(), {});
        QVERIFY(blocker.isAllowed(QUrl(u"https://a.github.io/x"_s)));
        QVERIFY(!blocker.isAllowed(QUrl(u"https://xgithub.io/"_s)));
        QVERIFY(blocker.setAllowed(QUrl(u"https://a.github.io/x"_s), false));
        QVERIFY(!blocker.isAllowed(QUrl(u"https://b.github.io/"_s)));
        QVERIFY(blocker.setAllowed(QUrl(u"https://www.b.github.io/"_s), true));
        QVERIFY(blocker.isAllowed(QUrl(u"https://b.github.io/"_s)));
        QVERIFY(!blocker.isAllowed(QUrl(u"https://a.github.io/"_s)));
        QCOMPARE(fileBytes(folder.filePath(u"blocking.ini"_s)),
                 QByteArray("[blocking]\nallowed sites=b.github.io\nenabled=true\nlists off=\n"));
    }

    void unreadableSettings_areNeverReplaced()
    {
        QTemporaryDir folder;
        QVERIFY(QFile::link(u"/dev/zero"_s, folder.filePath(u"blocking.ini"_s)));
        Blocker blocker(folder.path(), {});
        QSignalSpy said(&blocker, &Blocker::statusMessage);
        loaded(blocker);
        QVERIFY(said.size() >= 1);
        QVERIFY(
            said.constFirst().constFirst().toString().contains(folder.filePath(u"blocking.ini"_s)));
        QVERIFY(!blocker.setAllowed(QUrl(u"https://a.example/"_s), true));
        BlockingWindow window(&blocker);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        clickBox(window.findChild<QCheckBox *>(u"blockingOn"_s));
        QVERIFY(!window.findChild<QLabel *>(u"failure"_s)->isHidden());
        QVERIFY(QFileInfo(folder.filePath(u"blocking.ini"_s)).isSymLink());
        QVERIFY(blocker.isAllowed(QUrl(u"https://a.example/"_s))); // for this run all the same
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
