#include "blocking/blocker.h"
#include "settings/blocking_window.h"
#include "support/window_fixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
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
                 u"Rules skipped, by what they use: $csp 2, +js() without the package 1"_s);
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
        // Nothing is chosen to block again until a site is.
        QVERIFY(!window.findChild<QPushButton *>(u"removeAllowed"_s)->isEnabled());
        clickBox(window.findChild<QCheckBox *>(u"blockingOn"_s));
        QCOMPARE(fileBytes(folder.filePath(u"blocking.ini"_s)),
                 QByteArray("[blocking]\nenabled=false\nlists off=\n"
                            "allowed sites=example.co.uk\n"));
        QCOMPARE(blocker.blockingRule(ad, page, RequestType::Script), QString());
    }

    // A list turned off while the lists are being read is off once that is done, not left in
    // force by the reading under way.
    void lists_changedWhileRead_areReadAgain()
    {
        QTemporaryDir folder;
        QDir(folder.path()).mkdir(u"filters"_s);
        writeFile(folder.filePath(u"filters/mine.txt"_s), "||ads.test^\n");
        Blocker blocker(folder.path(), {});
        QSignalSpy done(&blocker, &Blocker::listsLoaded);
        blocker.loadLists();
        BlockingSettings mineOff = blocker.settings();
        mineOff.listsOff = QStringList{u"filters/mine.txt"_s};
        QVERIFY(blocker.apply(mineOff));
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 2, 30000);
        QCOMPARE(blocker.blockingRule(QUrl(u"https://ads.test/a.js"_s),
                                      QUrl(u"https://videos.example/"_s), RequestType::Script),
                 QString());
    }

    // A blocked request a rule names a stand-in for goes to it, by any name the package's table
    // gives it; the stand-in is the package's file as it is.
    void standIns_answerBlockedRequests_byEveryNameThePackageGives()
    {
        QTemporaryDir package;
        for (const QString &folder :
             {u"js/resources"_s, u"web_accessible_resources"_s, u"assets/ublock"_s})
            QVERIFY(QDir(package.path()).mkpath(folder));
        writeFile(package.filePath(u"js/redirect-resources.js"_s),
                  "export default new Map([\n    [ 'noop.js', {\n        alias: [ 'noopjs', "
                  "'abp-resource:blank-js' ],\n        data: 'text',\n    } ],\n    [ 'gone.js', "
                  "{\n        alias: 'x.test/gone.js',\n    } ],\n    [ 'ga.js', {\n        "
                  "alias: 'ga.test/ga.js', /* theirs */\n    } ],\n]);\n");
        writeFile(package.filePath(u"web_accessible_resources/noop.js"_s), "(function(){})();\n");
        writeFile(package.filePath(u"web_accessible_resources/ga.js"_s), "window.ga = () => {};");
        writeFile(package.filePath(u"assets/ublock/filters.min.txt"_s),
                  "||ads.test^$script,redirect=noopjs\n||ga.test^$redirect=ga.test/ga.js\n"
                  "||gone.test^$redirect=x.test/gone.js\n||blank.test^$redirect=abp-resource:"
                  "blank-js\nvideos.example##+js(set-flag, x)\n");
        // And a function for in-page rules, which only the package's own lists may call.
        writeFile(package.filePath(u"js/resources/scriptlets.js"_s),
                  "function setFlag(v) {}\nbuiltinScriptlets.push({\n    name: 'set-flag.js',\n"
                  "    fn: setFlag,\n    requiresTrust: true,\n});\n");
        QTemporaryDir folder;
        // The user's own list may not call what needs the package's trust.
        QVERIFY(QDir(folder.path()).mkdir(u"filters"_s));
        writeFile(folder.filePath(u"filters/mine.txt"_s), "videos.example##+js(set-flag, mine)\n");
        Blocker blocker(folder.path(), {package.path()});
        loaded(blocker);
        const QUrl page(u"https://videos.example/"_s);
        const struct
        {
            const char *address;
            RequestType type;
            QByteArray bytes; // the stand-in's; empty: blocked, sent nowhere
        } cases[] = {
            {"https://ads.test/a.js", RequestType::Script, "(function(){})();\n"},
            {"https://blank.test/a.js", RequestType::Script, "(function(){})();\n"},
            {"https://ga.test/ga.js", RequestType::Script, "window.ga = () => {};"},
            {"https://gone.test/a.js", RequestType::Script, {}},
            // A page of its own gets the notice that it was blocked.
            {"https://ga.test/", RequestType::Document, {}},
        };
        for (const auto &asked : cases) {
            const RequestVerdict verdict =
                blocker.verdict(QUrl(QString::fromLatin1(asked.address)), page, asked.type);
            QVERIFY2(!verdict.blockingRule.isEmpty(), asked.address);
            QVERIFY2(verdict.redirect.isValid() == !asked.bytes.isEmpty(), asked.address);
            if (asked.bytes.isEmpty())
                continue;
            QCOMPARE(verdict.redirect.scheme(), QLatin1StringView(RequestPolicy::StandInScheme));
            const std::optional<StandIns::Resource> standIn =
                blocker.standIn(RequestPolicy::standInName(verdict.redirect));
            QVERIFY2(standIn, asked.address);
            QCOMPARE(standIn->bytes, asked.bytes);
            QVERIFY(standIn->mimeType.endsWith("javascript"));
        }
        // Only names the table gives; none is a path.
        QVERIFY(!blocker.standIn(u"../js/redirect-resources.js"_s));
        QVERIFY(!blocker.standIn(u"gone.js"_s));

        // In-page rules run on the site's pages and frames, unless the page is of a site allowed.
        const QUrl videos(u"https://m.videos.example/"_s);
        QVERIFY(blocker.frameScripts(videos, page).page.contains(u"setFlag(...[\"x\"])"_s));
        QVERIFY(!blocker.frameScripts(videos, page).page.contains(u"mine"_s));
        QCOMPARE(blocker.frameScripts(videos, page).isolated, QString());
        QVERIFY(blocker.setAllowed(QUrl(u"https://news.example/"_s), true));
        QCOMPARE(blocker.frameScripts(videos, QUrl(u"https://news.example/a"_s)).page, QString());
    }

    // The package installed here names its stand-ins as the lists do.
    void standIns_ofTheInstalledPackage()
    {
        const StandIns installed = StandIns::read(FilterLists::packageFolders());
        if (!installed.contains(u"noop.js"_s))
            QSKIP("no uBlock Origin package is installed");
        for (const QString &name :
             {u"noopjs"_s, u"nooptext"_s, u"1x1.gif"_s, u"googlesyndication_adsbygoogle.js"_s,
              u"googletagmanager.com/gtm.js"_s})
            QVERIFY2(installed.resource(name).has_value(), qPrintable(name));
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
