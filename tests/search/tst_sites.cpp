#include "form/control_names.h"
#include "search/sites_file.h"
#include "settings/options_dialog.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QByteArray Vimeo7("[site7]\nname=Vimeo\nstart=https://vimeo.com/\n"
                        "search=https://vimeo.com/search?q=%s\n");

QStringList siteCaptions(const WindowFixture &fixture)
{
    QStringList captions;
    for (int tab = 0; tab < 9; ++tab)
        captions.append(fixture.tabs()->tabText(tab));
    return captions;
}

QString optionLabel(const WindowFixture &fixture, int box)
{
    return fixture.window->options().findChild<QLabel *>(indexedName(u"Label1", box))->text();
}

// The Sites window, opened from its menu item.
QWidget *openSites(const WindowFixture &fixture)
{
    fixture.find<QAction>(u"sites"_qs)->trigger();
    return WindowFixture::topLevel(u"Sites", WindowFixture::Shown::Only);
}

template <typename Control> Control *control(QWidget *window, QStringView name, int row)
{
    return window->findChild<Control *>(indexedName(name, row));
}

void retype(QLineEdit *field, const QString &text)
{
    field->selectAll();
    QTest::keyClicks(field, text);
}

const QStringList BuiltInCaptions{u"YOUTUBE"_qs,     u"GOOGLE"_qs,    u"YAHOO"_qs,
                                  u"AOL"_qs,         u"MYSPACE"_qs,   u"Meta Cafe"_qs,
                                  u"DailyMotion"_qs, u"Break.com"_qs, u"Revver"_qs};

} // namespace

class TestSites : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    void file_keepsWhatItDoesNotKnowAcrossASave()
    {
        const IniText text = IniText::fromBytes("; mine\r\n" + Vimeo7 +
                                                "colour=blue\n\n[SITE4]\nstart=ftp://old.example/\n"
                                                "[engine]\nagent = Test/1.0 \n[extra]\nx=1");
        const SitesFile::Contents read = SitesFile::fromText(text);
        QCOMPARE(read.lineup[6].tabCaption, u"Vimeo"_qs);
        QCOMPARE(read.lineup[6].searchTemplate, u"https://vimeo.com/search?q=%s"_qs);
        QCOMPARE(read.lineup[3], SiteCatalogue::builtInLineup()[3]);
        QCOMPARE(read.unusableEntries, QStringList{u"site4"_qs});
        QCOMPARE(read.userAgent, u"Test/1.0"_qs);

        SiteCatalogue::Lineup changed = SiteCatalogue::builtInLineup();
        changed[2] = {u"Odysee"_qs, u"Odysee"_qs, u"https://odysee.com/"_qs,
                      u"https://odysee.com/$/search?q=%s"_qs};
        const QByteArray saved = SitesFile::withLineup(text, changed).toBytes();
        QCOMPARE(
            saved,
            QByteArray("; mine\n[site7]\ncolour=blue\n\n[SITE4]\n[engine]\n"
                       "agent = Test/1.0 \n[extra]\nx=1\n\n[site3]\nname=Odysee\n"
                       "start=https://odysee.com/\nsearch=https://odysee.com/$/search?q=%s\n"));
        QCOMPARE(SitesFile::fromText(IniText::fromBytes(saved)).lineup, changed);
    }

    void startUp_takesTheSitesFile_data()
    {
        QTest::addColumn<QByteArray>("sites"); // special files: in the window's start-up tests
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QString>("firstStartPage");
        QTest::addColumn<QString>("status");

        QStringList vimeo = BuiltInCaptions;
        vimeo[6] = u"Vimeo"_qs;
        QTest::newRow("no file") << QByteArray() << BuiltInCaptions
                                 << u"https://www.youtube.com/"_qs << QString();
        QTest::newRow("one slot") << Vimeo7 << vimeo << u"https://www.youtube.com/"_qs << QString();
        QStringList odysee = vimeo;
        odysee[0] = u"Odysee"_qs;
        QTest::newRow("a bad address in one slot")
            << "[site1]\nname=Odysee\nstart=https://odysee.com/\n[site5]\nname=Rumble\n"
               "start=rumble.com\n" +
                   Vimeo7
            << odysee << u"https://odysee.com/"_qs << u"[site5]"_qs;
    }

    void startUp_takesTheSitesFile()
    {
        QFETCH(QByteArray, sites);
        QFETCH(QStringList, captions);
        QFETCH(QString, status);
        QList<std::pair<QString, QByteArray>> files{
            {u"svng.msf"_qs, settingsBytes(QList<int>(18, 1))}};
        if (!sites.isEmpty())
            files.append({u"sites.ini"_qs, sites});
        WindowFixture fixture(files);

        QCOMPARE(siteCaptions(fixture), captions);
        for (int site = 0; site < 9; ++site)
            QCOMPARE(optionLabel(fixture, 9 + site),
                     captions[site] == BuiltInCaptions[site]
                         ? SiteCatalogue::builtInLineup()[site].optionLabel
                         : captions[site]);
        QTEST(fixture.startUpLog[1].section(u' ', 2), "firstStartPage");
        QVERIFY2(status.isEmpty()
                     ? fixture.status().isEmpty()
                     : fixture.status().contains(status) &&
                           fixture.status().contains(fixture.filePath(u"sites.ini"_qs)),
                 qPrintable(fixture.status()));
        // The home page lists the tabs' sites, a closed one as closed.
        const QString home = fixture.view(9)->shownHtml;
        QVERIFY(home.contains(u">%1<"_qs.arg(captions[6])));
        QVERIFY(home.contains(u">Revver (closed)<"_qs));
    }

    void window_changesTheLineupThroughItsControls()
    {
        WindowFixture fixture({{u"svng.msf"_qs, settingsBytes(QList<int>(18, 1))}});
        QWidget *sites = openSites(fixture);
        auto *save = sites->findChild<QPushButton *>(u"save"_qs);

        // A choice fills the row: YouTube, Dailymotion, then Vimeo.
        auto *preset = control<QComboBox>(sites, u"preset", 6);
        for (int step = 0; step < 3; ++step)
            QTest::keyClick(preset, Qt::Key_Down);
        QCOMPARE(control<QLineEdit>(sites, u"name", 6)->text(), u"Vimeo"_qs);
        QCOMPARE(control<QLineEdit>(sites, u"search", 6)->text(),
                 u"https://vimeo.com/search?q=%s"_qs);

        // A problem keeps SAVE off and is named beside its field until it is mended.
        retype(control<QLineEdit>(sites, u"start", 2), u"video.example"_qs);
        retype(control<QLineEdit>(sites, u"search", 4), u"https://a.example/?q=%s&r=%s"_qs);
        QVERIFY(!save->isEnabled());
        QVERIFY(control<QLabel>(sites, u"startProblem", 2)->text().contains(u"http or https"_qs));
        QVERIFY(control<QLabel>(sites, u"searchProblem", 4)->text().contains(u"at most once"_qs));
        QTest::mouseClick(control<QPushButton>(sites, u"builtIn", 2), Qt::LeftButton);
        QTest::mouseClick(control<QPushButton>(sites, u"builtIn", 4), Qt::LeftButton);
        QVERIFY(save->isEnabled());
        QVERIFY(control<QLabel>(sites, u"startProblem", 2)->isHidden());

        // SAVE applies at once and writes only what differs from the built-in lineup.
        QTest::mouseClick(save, Qt::LeftButton);
        QTRY_VERIFY(!sites->isVisible());
        QCOMPARE(fixture.tabs()->tabText(6), u"Vimeo"_qs);
        QCOMPARE(optionLabel(fixture, 15), u"Vimeo"_qs);
        QCOMPARE(fixture.fileBytes(u"sites.ini"_qs), Vimeo7);
        // The home page shows the new lineup; the next search goes to the new template.
        QCOMPARE(fixture.log, QStringList{u"WebBrowser1(9) showPage qrc:/home/index.html"_qs});
        QVERIFY(fixture.view(9)->shownHtml.contains(u">Vimeo<"_qs));
        fixture.find<QLineEdit>(u"Text1"_qs)->setText(u"C++ & more"_qs);
        fixture.click(u"Command21"_qs);
        QCOMPARE(fixture.log.at(7),
                 u"WebBrowser1(6) navigate https://vimeo.com/search?q=C%2B%2B%20%26%20more"_qs);

        // CANCEL changes nothing.
        sites = openSites(fixture);
        retype(control<QLineEdit>(sites, u"name", 0), u"Mine"_qs);
        QTest::mouseClick(sites->findChild<QPushButton *>(u"cancel"_qs), Qt::LeftButton);
        QCOMPARE(fixture.tabs()->tabText(0), u"YOUTUBE"_qs);
        QCOMPARE(fixture.fileBytes(u"sites.ini"_qs), Vimeo7);

        // "Built-in for All" brings back every built-in site.
        sites = openSites(fixture);
        QCOMPARE(control<QLineEdit>(sites, u"name", 0)->text(), u"YOUTUBE"_qs);
        QTest::mouseClick(sites->findChild<QPushButton *>(u"allBuiltIn"_qs), Qt::LeftButton);
        QTest::mouseClick(sites->findChild<QPushButton *>(u"save"_qs), Qt::LeftButton);
        QCOMPARE(siteCaptions(fixture), BuiltInCaptions);
        QCOMPARE(fixture.fileBytes(u"sites.ini"_qs), QByteArray("[site7]\n"));
    }
};

QTEST_MAIN(TestSites)
#include "tst_sites.moc"
