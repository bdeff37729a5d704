#include "search/open_search.h"
#include "search/search_plan.h"
#include "search/search_template.h"
#include "search/sites_file.h"
#include "settings/options_dialog.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// Every box of the options checked: start-up loads everything, a search every site.
const std::pair<QString, QByteArray> AllChosen{u"svng.msf"_s, settingsBytes(QList<int>(18, 1))};

QString navigation(int view, const QString &address)
{
    return u"WebBrowser1(%1) navigate %2"_s.arg(view).arg(address);
}

const QString MetaCafeClosed = u"qrc:/sites/closed.html?site=MetaCafe&closed=2021&search="_s;

const QByteArray Vimeo7("[site7]\nname=Vimeo\nstart=https://vimeo.com/\n"
                        "search=https://vimeo.com/search?q=%s\n");

const QStringList BuiltInCaptions{u"YOUTUBE"_s,     u"GOOGLE"_s,    u"YAHOO"_s,
                                  u"AOL"_s,         u"MYSPACE"_s,   u"Meta Cafe"_s,
                                  u"DailyMotion"_s, u"Break.com"_s, u"Revver"_s};

QStringList siteCaptions(const WindowFixture &fixture)
{
    QStringList captions;
    for (int tab = 0; tab < 9; ++tab)
        captions.append(fixture.tabs()->tabText(tab));
    return captions;
}

QString optionLabel(const WindowFixture &fixture, int site)
{
    const auto *options = &fixture.window->options();
    return options->findChild<QLabel *>(indexedName(u"Label1", 9 + site))->text();
}

// The Sites window, opened from its menu item.
QWidget *openSites(const WindowFixture &fixture)
{
    fixture.find<QAction>(u"sites"_s)->trigger();
    return WindowFixture::topLevel(u"Sites", WindowFixture::Shown::Only);
}

template <typename Control> Control *control(QWidget *window, QStringView name, int row)
{
    return window->findChild<Control *>(indexedName(name, row));
}

void retype(QWidget *window, QStringView field, int row, const QString &text)
{
    control<QLineEdit>(window, field, row)->selectAll();
    QTest::keyClicks(control<QLineEdit>(window, field, row), text);
}

// Answers the next file dialog with the path, typed whole into its name box as a user may.
void answerFileDialog(const QString &path)
{
    auto *answer = new QTimer;
    QObject::connect(answer, &QTimer::timeout, answer, [answer, path] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        dialog->findChild<QLineEdit *>(u"fileNameEdit"_s)->setText(path);
        QMetaObject::invokeMethod(dialog, "accept"); // its Open or Choose button
        answer->deleteLater();
    });
    answer->start(20);
}

} // namespace

class TestSearch : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    void address_loadsUnchangedIntoTheSelectedTabsViewOnly_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("expectedView"); // -1: nothing loads
        for (int tab = 0; tab < 12; ++tab)
            QTest::addRow("tab %d", tab) << tab << (tab < 9 ? tab : tab == 11 ? 9 : -1);
    }

    void address_loadsUnchangedIntoTheSelectedTabsViewOnly()
    {
        QFETCH(int, tab);
        QFETCH(int, expectedView);
        WindowFixture fixture({AllChosen});
        fixture.tabs()->setCurrentIndex(tab);
        auto *combo = fixture.find<QComboBox>(u"Combo1"_s);
        combo->addItems({u"http://a.example/"_s, u"b.example"_s});
        const QString typed = u"  Http://Example.COM/a b?x=1&y=ü  "_s + QString(40000, u'x');
        combo->setEditText(typed);

        for (const auto modifier : {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier})
            QTest::keyClick(combo, Qt::Key_Return, modifier);
        QTest::keyClick(combo, Qt::Key_Enter, Qt::KeypadModifier);
        fixture.click(u"Command22"_s);

        // Never a search as well: every search box is checked.
        QCOMPARE(fixture.log, expectedView < 0 ? QStringList()
                                               : QStringList(5, navigation(expectedView, typed)));
        // An address opened joins the box's list once, on top.
        QCOMPARE(combo->count(), expectedView < 0 ? 2 : 3);
        QCOMPARE(combo->itemText(0), expectedView < 0 ? u"http://a.example/"_s : typed);
        QCOMPARE(combo->currentText(), typed);
        QCOMPARE(fixture.tabs()->currentIndex(), tab);
    }

    void search_loadsTheWholeTextInExactlyTheCheckedSites()
    {
        // Greyed boxes (sites 0 and 3) leave their sites out like unchecked ones.
        WindowFixture fixture(
            {{AllChosen.first, settingsBytes({1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 0, 1, 2, 0, 1})}});
        QTabWidget *tabs = fixture.tabs();
        // All site tabs go off first, then each checked site's tab comes on just before it loads.
        QStringList availableAtNavigation;
        for (const int site : {2, 5})
            fixture.view(site)->onNavigate = [&] {
                availableAtNavigation.append(fixture.availableTabs().first(9));
            };
        auto *text = fixture.find<QLineEdit>(u"Text1"_s);
        QTest::keyClicks(text, u" rock & roll #1 "_s);
        fixture.click(u"Command21"_s);
        const QString yahoo = u"https://video.search.yahoo.com/search/video?p="_s;
        const QString encoded = u"%20rock%20%26%20roll%20%231%20"_s;
        // A closed site's notice, which sends nothing anywhere.
        QCOMPARE(fixture.log, (QStringList{navigation(2, yahoo + encoded),
                                           navigation(5, MetaCafeClosed + encoded)}));
        QCOMPARE(availableAtNavigation, (QStringList{u"001000000"_s, u"001001000"_s}));
        QCOMPARE(tabs->currentIndex(), 11);

        // Enter with any modifier searches, the text read anew; the keys still reach the box, and
        // the selected tab stays, even one the search switches off.
        fixture.log.clear();
        text->setText(u"AC/DC"_s);
        tabs->setCurrentIndex(6);
        for (const auto modifier : {Qt::NoModifier, Qt::ShiftModifier, Qt::AltModifier})
            QTest::keyClick(text, Qt::Key_Return, modifier);
        QTest::keyClick(text, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(fixture.log.size(), 8);
        QCOMPARE(fixture.log.last(), navigation(5, MetaCafeClosed + u"AC%2FDC"_s));
        QCOMPARE(tabs->currentIndex(), 6);
        QCOMPARE(tabs->currentWidget(), tabs->widget(6));
        QTest::keyClick(text, Qt::Key_Exclam);
        QCOMPARE(text->text(), u"AC/DC!"_s);

        // An empty text gives the bare addresses; a long one goes whole, up to the 2,000
        // characters the box and the history take.
        fixture.log.clear();
        text->clear();
        fixture.click(u"Command21"_s);
        QCOMPARE(fixture.log, (QStringList{navigation(2, yahoo), navigation(5, MetaCafeClosed)}));
        text->setText(QString(100000, u'é'));
        fixture.click(u"Command21"_s);
        QVERIFY(fixture.log.last().endsWith(u"=%C3%A9"_s + u"%C3%A9"_s.repeated(1999)));
        QCOMPARE(fixture.fileBytes(u"searches.txt"_s).split('\n').constFirst().size(), 4000);
    }

    void plan_takesAKeywordOnlyAtTheStart_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<int>>("chosen");
        QTest::addColumn<QString>("firstAddress");
        QTest::addColumn<bool>("notice");
        const QString youtube = u"https://www.youtube.com/results?search_query="_s;
        const QString yahoo = u"https://video.search.yahoo.com/search/video?p="_s;
        QTest::newRow("alone") << u"!yt"_s << QList<int>{0} << youtube << false;
        QTest::newRow("a tab after it")
            << u"!Yt\tcats"_s << QList<int>{0} << youtube + u"cats"_s << false;
        QTest::newRow("later in the text")
            << u"cats !yt"_s << QList<int>{2, 6} << yahoo + u"cats%20%21yt"_s << false;
        QTest::newRow("no keyword")
            << u"! cats"_s << QList<int>{2, 6} << yahoo + u"%21%20cats"_s << false;
        QTest::newRow("no site's")
            << u"!ytt cats"_s << QList<int>{2, 6} << yahoo + u"%21ytt%20cats"_s << true;
    }

    void plan_takesAKeywordOnlyAtTheStart()
    {
        QFETCH(QString, typed);
        const SearchPlan plan = SearchPlan::make(SiteCatalogue::builtInLineup(), {2, 6}, typed);
        QTEST(plan.chosen, "chosen");
        QTEST(plan.addresses.value(plan.chosen.value(0)).toString(QUrl::FullyEncoded),
              "firstAddress");
        QTEST(!plan.notice.isEmpty(), "notice");
    }

    // "!keyword text" searches that site alone, whatever the options choose; the history keeps
    // what was typed. A keyword of no site leaves the text as it is, for the chosen sites.
    void keyword_searchesItsSiteAlone_asTheSitesWindowNamesIt()
    {
        WindowFixture fixture({{AllChosen.first, settingsBytes(QList<int>(18, 0))}});
        auto *text = fixture.find<QLineEdit>(u"Text1"_s);
        text->setText(u" !DM  cats & dogs "_s);
        QTest::keyClick(text, Qt::Key_Return);
        QCOMPARE(fixture.log,
                 QStringList{navigation(
                     6, u"https://www.dailymotion.com/search/cats%20%26%20dogs/videos"_s)});
        QCOMPARE(fixture.availableTabs(), u"000000100111"_s);
        QCOMPARE(fixture.fileBytes(u"searches.txt"_s), QByteArray(" !DM  cats & dogs \n"));
        fixture.log.clear();
        text->setText(u"!zz cats"_s);
        QTest::keyClick(text, Qt::Key_Return);
        QCOMPARE(fixture.log, QStringList());
        QVERIFY2(fixture.status().contains(u"\u201czz\u201d"_s) &&
                     fixture.status().contains(u"No site is chosen"_s),
                 qPrintable(fixture.status()));

        // A keyword is one word, of one tab: SAVE waits until it is.
        QWidget *sites = openSites(fixture);
        retype(sites, u"keyword", 1, u"a b"_s);
        QVERIFY(control<QLabel>(sites, u"keywordProblem", 1)->text().contains(u"no spaces"_s));
        retype(sites, u"keyword", 1, u"YT"_s);
        QVERIFY(control<QLabel>(sites, u"keywordProblem", 1)->text().contains(u"Tab 1"_s));
        QVERIFY(!sites->findChild<QWidget *>(u"save"_s)->isEnabled());
        retype(sites, u"keyword", 0, u"tube"_s);
        WindowFixture::click(sites, u"save"_s);
        QCOMPARE(fixture.fileBytes(u"sites.ini"_s),
                 QByteArray("[site1]\nkeyword=tube\n\n[site2]\nkeyword=YT\n"));
        fixture.log.clear();
        text->setText(u"!yt x"_s);
        fixture.click(u"Command21"_s);
        QCOMPARE(fixture.log,
                 QStringList{navigation(1, u"https://www.google.com/search?tbm=vid&q=x"_s)});
    }

    // A group searches its sites wherever they are on the tabs now, "@group" once; the choice and
    // the groups are the file's, a site no tab holds is said and kept.
    void groups_searchTheirSitesByTheDropDownOrByName_andAreEditedInTheirWindow()
    {
        const QByteArray groups("[search]\ngroup=Music\n\n[group1]\nname=Music\nsite1=YOUTUBE\n"
                                "site7=Vimeo\nsite8=Gone\n");
        WindowFixture fixture({AllChosen,
                               {u"groups.ini"_s, groups},
                               {u"sites.ini"_s, QByteArray(Vimeo7).replace("site7", "site3")}});
        auto *box = fixture.find<QComboBox>(u"groupBox"_s);
        QCOMPARE(box->currentText(), u"Sites: Music"_s);
        const auto search = [&fixture](const QString &text) {
            fixture.log.clear();
            fixture.find<QLineEdit>(u"Text1"_s)->setText(text);
            fixture.click(u"Command21"_s);
            return fixture.log;
        };
        const QString cats = u"https://vimeo.com/search?q=cats"_s;
        QCOMPARE(search(u"cats"_s),
                 (QStringList{navigation(0, u"https://www.youtube.com/results?search_query=cats"_s),
                              navigation(2, cats)}));
        QVERIFY2(fixture.status().contains(u"Gone of the group \u201cMusic\u201d"_s),
                 qPrintable(fixture.status()));
        QTest::keyClick(box, Qt::Key_Home); // the options' boxes: every site
        QCOMPARE(search(u"x"_s).size(), 9);
        QCOMPARE(search(u"@MUSIC cats"_s).last(), navigation(2, cats));
        QCOMPARE(fixture.fileBytes(u"groups.ini"_s), groups.sliced(groups.indexOf("[group1]")));

        QTest::keyClick(box, Qt::Key_End);
        QWidget *editor = WindowFixture::topLevel(u"Groups", WindowFixture::Shown::Only);
        QCOMPARE(box->currentIndex(), 0);
        QVERIFY(editor->findChild<QCheckBox *>(u"groupSite(2)"_s)->isChecked());
        QVERIFY(editor->findChild<QCheckBox *>(u"missingSite(0)"_s)->text().startsWith(u"Gone"_s));
        WindowFixture::click(editor, u"addGroup"_s);
        auto *list = editor->findChild<QListWidget *>(u"groupList"_s);
        QTest::keyClicks(list->findChild<QLineEdit *>(), u"music"_s);
        QTest::keyClick(list->findChild<QLineEdit *>(), Qt::Key_Return);
        QTRY_COMPARE(list->currentItem()->text(), u"music"_s); // the list takes it once back
        QVERIFY(!editor->findChild<QWidget *>(u"save"_s)->isEnabled()); // "@music" would be two
        QVERIFY(editor->findChild<QLabel *>(u"problem"_s)->text().contains(u"Group 2: Another"_s));
        list->editItem(list->currentItem());
        QTest::keyClicks(list->findChild<QLineEdit *>(), u"Talks"_s);
        QTest::keyClick(list->findChild<QLineEdit *>(), Qt::Key_Return);
        QTRY_VERIFY(editor->findChild<QWidget *>(u"save"_s)->isEnabled());
        QTest::keyClick(editor->findChild<QCheckBox *>(u"groupSite(1)"_s), Qt::Key_Space);
        WindowFixture::click(editor, u"save"_s);
        QCOMPARE(fixture.fileBytes(u"groups.ini"_s), groups.sliced(groups.indexOf("[group1]")) +
                                                         "\n[group2]\nname=Talks\nsite2=GOOGLE\n");
        QCOMPARE(box->count(), 4);
        QCOMPARE(search(u"@talks x"_s),
                 QStringList{navigation(1, u"https://www.google.com/search?tbm=vid&q=x"_s)});
    }

    void search_withNoBoxLoadsNothing_andSaysHowToChoose_openDialogCounts()
    {
        WindowFixture none({{AllChosen.first, settingsBytes(QList<int>(9, 1))}});
        none.find<QLineEdit>(u"Text1"_s)->setText(u"cats"_s);
        none.click(u"Command21"_s);
        QCOMPARE(none.log, QStringList());
        QCOMPARE(none.availableTabs(), u"000000000111"_s);
        // A first search at first run must not look like a dead button.
        QVERIFY2(none.status().contains(u"Options, Options, on the Search tab"_s),
                 qPrintable(none.status()));

        // Choices made in the open options window count before they are saved.
        none.find<QAction>(u"Option1"_s)->trigger();
        QWidget *dialog = &none.window->options();
        dialog->findChild<QTabWidget *>(u"SSTab1"_s)->setCurrentIndex(1);
        QTest::keyClick(dialog->findChild<QWidget *>(indexedName(u"Check1", 15)), Qt::Key_Space);
        none.find<QLineEdit>(u"Text1"_s)->setText(u"Björk"_s);
        none.click(u"Command21"_s);
        QCOMPARE(none.log, QStringList{navigation(
                               6, u"https://www.dailymotion.com/search/Bj%C3%B6rk/videos"_s)});
        // The notice goes once a search reaches a site.
        QVERIFY2(!none.status().contains(u"No site"_s), qPrintable(none.status()));
        // A text a path would read as a step up is not sent where the text goes in the path.
        none.log.clear();
        none.find<QLineEdit>(u"Text1"_s)->setText(u".."_s);
        none.click(u"Command21"_s);
        QCOMPARE(none.log, QStringList());
        QVERIFY2(none.status().contains(u"was not searched on DailyMotion"_s),
                 qPrintable(none.status()));
        // Nor waited for in the Results tab: its next page is no search's results.
        QVERIFY(none.find<QWidget>(indexedName(u"resultsSite", 6))->isHidden());
        QCOMPARE(none.view(6)->readerScript, QString());
    }

    void template_putsTheEncodedTextAtItsMark_data()
    {
        QTest::addColumn<QString>("searchTemplate");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("encoded");
        const QList<std::pair<QString, QString>> texts{
            {u"rock & roll #1"_s, u"rock%20%26%20roll%20%231"_s},
            {u"AC/DC"_s, u"AC%2FDC"_s},
            {u"C++"_s, u"C%2B%2B"_s},
            {u"   spaced  "_s, u"%20%20%20spaced%20%20"_s},
            {u"Café 東京"_s, u"Caf%C3%A9%20%E6%9D%B1%E4%BA%AC"_s},
            {QString(), QString()}};
        // A query, a path, no mark at all, and a template with escapes of its own.
        for (const char *searchTemplate :
             {"https://v.example/s?q=%s&type=video", "https://v.example/search/%s/videos",
              "http://v.example/tags/",
              "https://archive.org/search?query=%s&and%5B%5D=mediatype%3A%22movies%22"}) {
            for (const auto &[text, encoded] : texts)
                QTest::addRow("%s, %s", searchTemplate, qPrintable(text))
                    << QString::fromLatin1(searchTemplate) << text << encoded;
        }
    }

    void template_putsTheEncodedTextAtItsMark()
    {
        QFETCH(QString, searchTemplate);
        QFETCH(QString, text);
        QFETCH(QString, encoded);
        const QString address = searchTemplate.contains(u"%s")
                                    ? QString(searchTemplate).replace(u"%s"_s, encoded)
                                    : searchTemplate + encoded;
        QCOMPARE(SearchTemplate::expand(searchTemplate, text).toString(QUrl::FullyEncoded),
                 address);
    }

    // Every character, not a few examples: one range off in an encoder sends a site another text.
    void template_sendsEveryCharacterByteForByte()
    {
        const auto escaped = [](QByteArray bytes, QByteArrayView keep) {
            QByteArray out;
            for (const char byte : bytes)
                out += std::isalnum(static_cast<unsigned char>(byte)) || keep.contains(byte)
                           ? QByteArray(1, byte)
                           : '%' + QByteArray(1, byte).toHex().toUpper();
            return out;
        };
        for (const char32_t code : {0x1F600U, 0x10FFFFU, 0xFFFDU, 0x7FFU, 0x800U})
            QCOMPARE(
                SearchTemplate::expand(u"https://v.example/s?q=%s", QString::fromUcs4(&code, 1))
                    .toEncoded(),
                "https://v.example/s?q=" + escaped(QString::fromUcs4(&code, 1).toUtf8(), ""));
        for (char32_t code = 1; code < 0x800; ++code) {
            const QString text = QString::fromUcs4(&code, 1);
            QCOMPARE(SearchTemplate::expand(u"https://v.example/s?q=%s", text).toEncoded(),
                     "https://v.example/s?q=" + escaped(text.toUtf8(), "-._~"));
            // The template's own characters as typed: only blanks, controls, letters beyond
            // ASCII and what an address never holds as it is are escaped.
            if (code == u'%' || code == u'#' || code == u'?')
                continue;
            QCOMPARE(SearchTemplate::expand(u"https://v.example/s?a"_s + text + u"=%s"_s, u"x"_s)
                         .toEncoded(),
                     "https://v.example/s?a" + escaped(text.toUtf8(), "!$&'()*+,-./:;=@[]_~") +
                         "=x");
        }
    }

    void addressesAndTemplates_areCheckedBeforeTheyAreKept_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isTemplate");
        QTest::addColumn<QString>("problem"); // a word of the problem; empty: none
        QTest::newRow("a page") << u"https://v.example/"_s << false << QString();
        QTest::newRow("no host") << u"https://"_s << false << u"http or https"_s;
        QTest::newRow("no host, one slash") << u"http:/x"_s << false << u"http or https"_s;
        QTest::newRow("another scheme") << u"ftp://v.example/"_s << false << u"http or https"_s;
        QTest::newRow("a template") << u"https://v.example/s?q=%s"_s << true << QString();
        QTest::newRow("text at the end of a path")
            << u"https://v.example/tags/"_s << true << QString();
        QTest::newRow("text in the host") << u"https://v.example"_s << true << u"site's name"_s;
        QTest::newRow("mark in the host") << u"https://%s.example/"_s << true << u"site's name"_s;
        QTest::newRow("two marks") << u"https://v.example/%s/%s"_s << true << u"at most once"_s;
    }

    void addressesAndTemplates_areCheckedBeforeTheyAreKept()
    {
        QFETCH(QString, text);
        QFETCH(bool, isTemplate);
        QFETCH(QString, problem);
        const QString found = isTemplate ? SearchTemplate::templateProblem(text)
                                         : SearchTemplate::addressProblem(text);
        QVERIFY2(problem.isEmpty() ? found.isEmpty() : found.contains(problem), qPrintable(found));
    }

    void openSearch_takesWhatItCanFillAndRefusesTheRest_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("read"); // the template, or a word of the reason
        const auto described = [](const QByteArray &url) {
            return "<?xml version='1.0'?><OpenSearchDescription><ShortName> Tube  Site "
                   "</ShortName><Url type='application/"
                   "rss+xml' template='https://t.example/rss?q={searchTerms}'/>" +
                   url + "</OpenSearchDescription>";
        };
        QTest::newRow("relative, defaults")
            << described("<Url type='text/html' template='/s?q={searchTerms}&amp;p={startPage}"
                         "&amp;l={language}&amp;x={x:y?}'/>")
            << u"https://t.example/s?q=%s&p=1&l=*&x="_s;
        QTest::newRow("text in the path, offset")
            << described("<Url type='TEXT/HTML' pageOffset='0' template='https://o.example/v/"
                         "{searchTerms}?page={startPage}'/>")
            << u"https://o.example/v/%s?page=0"_s;
        QTest::newRow("a parameter it cannot fill")
            << described("<Url type='text/html' template='/s?q={searchTerms}&amp;n={count}'/>")
            << u"{count}"_s;
        QTest::newRow("posted only")
            << described("<Url type='text/html' method='POST' template='/s?q={searchTerms}'/>")
            << u"no web page address"_s;
        QTest::newRow("no place for the text")
            << described("<Url type='text/html' template='/s?q=%s'/>") << u"no place"_s;
        QTest::newRow("entities") << "<!DOCTYPE x [<!ENTITY e SYSTEM 'file:///etc/passwd'>]>" +
                                         described("<Url type='text/html' template='/s?q="
                                                   "{searchTerms}&amp;e=&e;'/>")
                                  << u"entities"_s;
        QTest::newRow("another document") << QByteArray("<html><Url type='text/html' "
                                                        "template='/s?q={searchTerms}'/></html>")
                                          << u"not an OpenSearch"_s;
        QTest::newRow("cut short")
            << described("<Url type='text/html' template='/s?q={sear") << u"well-formed"_s;
        QTest::newRow("too large") << described(QByteArray(70000, ' ')) << u"64 KiB"_s;
        QTest::newRow("a search address longer than the sites file keeps")
            << described("<Url type='text/html' template='/s?q={searchTerms}&amp;x=" +
                         QByteArray(SitesFile::LongestValue, 'x') + "'/>")
            << u"too long"_s;
    }

    void openSearch_takesWhatItCanFillAndRefusesTheRest()
    {
        QFETCH(QByteArray, xml);
        QFETCH(QString, read);
        const OpenSearch::Reading reading = OpenSearch::read(xml, QUrl(u"https://t.example/os"_s));
        if (read.startsWith(u"https:")) {
            QCOMPARE(reading.site->searchTemplate, read);
            QCOMPARE(reading.site->tabCaption, u"Tube Site"_s);
            QCOMPARE(reading.site->startPage, read.first(read.indexOf(u'/', 8) + 1));
        } else {
            QVERIFY2(!reading.site && reading.problem.contains(read), qPrintable(reading.problem));
        }
        // What the program describes, it reads back as it was.
        for (const Site &site : SiteCatalogue::presets()) {
            const OpenSearch::Reading back = OpenSearch::read(OpenSearch::describe(site), {});
            QCOMPARE(back.site->searchTemplate, site.searchTemplate);
            QCOMPARE(back.site->tabCaption, site.tabCaption);
        }
    }

    void file_keepsWhatItDoesNotKnowAcrossASave()
    {
        // A slot's rule goes with its site: site7's back to the built-in, site1's stays.
        const IniText text =
            IniText::fromBytes("; mine\r\n" + Vimeo7 +
                               "colour=blue\nitem=li\ntitle=b\n\n[SITE4]\n"
                               "start=ftp://old.example/\n[engine]\nagent = "
                               "Test/1.0 \n[extra]\nx=1\n[site1]\nlink=a.v\n[site2]\n"
                               "keyword=VID\n[site3]\nkeyword=vid\n");
        const SitesFile::Contents read = SitesFile::fromText(text);
        QCOMPARE(read.lineup[6].tabCaption, u"Vimeo"_s);
        QCOMPARE(read.lineup[6].searchTemplate, u"https://vimeo.com/search?q=%s"_s);
        QCOMPARE(read.lineup[3], SiteCatalogue::builtInLineup()[3]);
        QCOMPARE(read.unusableEntries, QStringList{u"site4"_s});
        QCOMPARE(read.userAgent, u"Test/1.0"_s);
        // A keyword is the slot's site's own unless the file names one; the first slot has it.
        QStringList keywords;
        for (const Site &site : read.lineup)
            keywords << site.keyword;
        QCOMPARE(keywords, (QStringList{u"yt"_s, u"VID"_s, QString(), u"aol"_s, u"ms"_s, u"mc"_s,
                                        u"vm"_s, u"break"_s, u"rv"_s}));

        SiteCatalogue::Lineup changed = SiteCatalogue::builtInLineup();
        changed[2] = {u"Odysee"_s,
                      u"Odysee"_s,
                      u"https://odysee.com/"_s,
                      u"https://odysee.com/$/search?q=%s"_s,
                      false,
                      u"od"_s};
        changed[0].keyword = u"tube"_s;
        changed[4].keyword.clear();
        const QByteArray saved = SitesFile::withLineup(text, changed).toBytes();
        QCOMPARE(saved,
                 QByteArray("; mine\n[site7]\ncolour=blue\n\n[engine]\nagent = Test/1.0 \n"
                            "[extra]\nx=1\n[site1]\nlink=a.v\nkeyword=tube\n[site3]\nname=Odysee\n"
                            "start=https://odysee.com/\nsearch=https://odysee.com/$/search?q=%s\n\n"
                            "[site5]\nkeyword=\n"));
        QCOMPARE(SitesFile::fromText(IniText::fromBytes(saved)).lineup, changed);
    }

    void startUp_takesTheSitesFile_data()
    {
        QTest::addColumn<QByteArray>("sites"); // special files: in the window's start-up tests
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QString>("firstStartPage");
        QTest::addColumn<QString>("status");
        QTest::newRow("no file") << QByteArray() << BuiltInCaptions << u"https://www.youtube.com/"_s
                                 << QString();
        QStringList captions = BuiltInCaptions;
        captions[6] = u"Vimeo"_s;
        QTest::newRow("one slot") << Vimeo7 << captions << u"https://www.youtube.com/"_s
                                  << QString();
        captions[0] = u"Odysee"_s;
        QTest::newRow("a bad address in one slot")
            << "[site1]\nname=Odysee\nstart=https://odysee.com/\n[site5]\nname=Rumble\n"
               "start=rumble.com\n" +
                   Vimeo7
            << captions << u"https://odysee.com/"_s << u"[site5]"_s;
        // A field longer than the Sites window writes is no entry of the program's.
        QTest::newRow("a field too long")
            << "[site1]\nname=Odysee\nstart=https://odysee.com/\n[site5]\nname=" +
                   QByteArray(SitesFile::LongestValue + 1, 'R') + "\n" + Vimeo7
            << captions << u"https://odysee.com/"_s << u"[site5]"_s;
        // Markup in a name or an address of a hand-edited file.
        captions[6] = u"<img src=x onerror=alert(1)> & co"_s;
        QTest::newRow("markup in a name")
            << QByteArray(
                   "[site1]\nname=Odysee\nstart=https://odysee.com/\n[site7]\n"
                   "name=<img src=x onerror=alert(1)> & co\n"
                   "start=https://v.example/\"><img src=x>\nsearch=https://v.example/?q=%s\n")
            << captions << u"https://odysee.com/"_s << QString();
        captions[6] = u"Vimeo"_s;
        // A comment after a group's name: the keys below are that group's, not the one before.
        QTest::newRow("a comment after a group")
            << QByteArray("[site1]\nname=Odysee\nstart=https://odysee.com/\n[ site7 ] ; mine\n"
                          "name=Vimeo\nstart=https://vimeo.com/\n")
            << captions << u"https://odysee.com/"_s << QString();
    }

    void startUp_takesTheSitesFile()
    {
        QFETCH(QByteArray, sites);
        QFETCH(QStringList, captions);
        QFETCH(QString, status);
        WindowFixture fixture(sites.isNull() ? QList{AllChosen}
                                             : QList{AllChosen, {u"sites.ini"_s, sites}});

        QCOMPARE(siteCaptions(fixture), captions);
        for (int site = 0; site < 9; ++site)
            QCOMPARE(optionLabel(fixture, site),
                     captions[site] == BuiltInCaptions[site]
                         ? SiteCatalogue::builtInLineup()[site].optionLabel
                         : captions[site]);
        QTEST(fixture.startUpLog[1].section(u' ', 2), "firstStartPage");
        // A slot that cannot be used is named, with the file.
        const QString said = fixture.status();
        QVERIFY2(status.isEmpty()
                     ? said.isEmpty()
                     : said.contains(status) && said.contains(fixture.filePath(u"sites.ini"_s)),
                 qPrintable(said));
        // The home page lists the tabs' sites, a closed one as closed.
        // Its names and addresses are text, never markup of the page.
        const QString home = fixture.view(9)->shownHtml;
        QVERIFY(home.contains(u">%1<"_s.arg(captions[6].toHtmlEscaped())));
        QVERIFY(home.contains(u">Revver (closed)<"_s));
        QVERIFY(!home.contains(u"<img src=x"_s));
    }

    // A screen reader names each field of a row with the tab number that the row shows, and the
    // rows count the tabs from 1, as the tabs' keys do (Alt+1 for the first).
    void window_namesEachFieldByTheTabNumberItsRowShows()
    {
        WindowFixture fixture;
        const auto *grid = openSites(fixture)->findChild<QGridLayout *>();
        QString numbers;
        for (int line = 1; line < grid->rowCount(); ++line) {
            const auto *tab = grid->itemAtPosition(line, 0)
                                  ? qobject_cast<QLabel *>(grid->itemAtPosition(line, 0)->widget())
                                  : nullptr;
            if (!tab)
                continue;
            numbers += tab->text();
            for (int column = 1; column <= 4; ++column) {
                const QString name = grid->itemAtPosition(line, column)->widget()->accessibleName();
                QVERIFY2(name.endsWith(u" tab "_s + tab->text()), qPrintable(name));
            }
        }
        QCOMPARE(numbers, u"123456789"_s);
    }

    // While a tab holds a closed site, HOME's link opens the Sites window with a live site
    // proposed on each such row, none already on a tab; SAVE keeps them, and the link is gone.
    void home_offersLiveSitesForTheClosedTabs_untilTheyAreSaved()
    {
        WindowFixture fixture({AllChosen, {u"sites.ini"_s, Vimeo7}});
        const QString offer =
            u"href=\"qrc:/home/live-sites\">Put live sites on the closed tabs..."_s;
        QVERIFY(fixture.view(9)->shownHtml.contains(offer));
        emit fixture.view(9)->ownLinkFollowed(u"qrc:/home/elsewhere"_s);
        QVERIFY(!WindowFixture::topLevel(u"Sites", WindowFixture::Shown::Only));
        emit fixture.view(9)->ownLinkFollowed(u"qrc:/home/live-sites"_s);
        QWidget *sites = WindowFixture::topLevel(u"Sites", WindowFixture::Shown::Only);
        QStringList names;
        for (int row = 0; row < 9; ++row)
            names << control<QLineEdit>(sites, u"name", row)->text();
        QCOMPARE(names, (QStringList{u"YOUTUBE"_s, u"GOOGLE"_s, u"YAHOO"_s, u"Dailymotion"_s,
                                     u"SepiaSearch"_s, u"Internet Archive"_s, u"Vimeo"_s,
                                     u"Odysee"_s, u"Rumble"_s}));
        QCOMPARE(fixture.fileBytes(u"sites.ini"_s), Vimeo7);
        const QString tenth = fixture.tabs()->tabText(9);
        WindowFixture::click(sites, u"save"_s);
        QCOMPARE(fixture.tabs()->tabText(8), u"Rumble"_s);
        // The lineup names the sites' tabs and no other.
        QCOMPARE(fixture.tabs()->tabText(9), tenth);
        QVERIFY(!fixture.view(9)->shownHtml.contains(u"live-sites"_s));
        // A page names no other site's description, nor one that anyone on the way may change.
        for (const char *description :
             {"https://elsewhere.example/os.xml", "http://video.search.yahoo.com/os.xml"}) {
            fixture.find<QLabel>(u"Panel1"_s)->clear(); // each said anew
            emit fixture.view(2)->siteDescriptionChosen(QUrl(QString::fromLatin1(description)),
                                                        QUrl(u"https://video.search.yahoo.com/"_s));
            QVERIFY2(fixture.status().contains(u"not on the page's own site"_s),
                     qPrintable(fixture.status()));
        }
    }

    // Export writes a description a live site, each a file, byte for byte; Import offers the site
    // of one for a row, and says why a file is of no use.
    void window_exportsTheSitesAsDescriptions_andImportsOne()
    {
        WindowFixture fixture({AllChosen, {u"sites.ini"_s, Vimeo7}});
        QWidget *sites = openSites(fixture);
        answerFileDialog(fixture.folder.path());
        WindowFixture::click(sites, u"export"_s);
        QVERIFY(sites->findChild<QLabel *>(u"note"_s)->text().startsWith(u"4 sites exported"_s));
        QCOMPARE(QDir(fixture.folder.path()).entryList({u"*.xml"_s}),
                 (QStringList{u"1 YOUTUBE.xml"_s, u"2 GOOGLE.xml"_s, u"3 YAHOO.xml"_s,
                              u"7 Vimeo.xml"_s}));
        QCOMPARE(fixture.fileBytes(u"7 Vimeo.xml"_s),
                 QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<OpenSearchDescription "
                            "xmlns=\"http://a9.com/-/spec/opensearch/1.1/\">\n    <ShortName>Vimeo"
                            "</ShortName>\n    <InputEncoding>UTF-8</InputEncoding>\n    <Url "
                            "type=\"text/html\" method=\"get\" template=\"https://vimeo.com/"
                            "search?q={searchTerms}\"/>\n</OpenSearchDescription>\n"));
        answerFileDialog(fixture.filePath(u"sites.ini"_s));
        WindowFixture::click(sites, u"import"_s);
        QVERIFY(sites->findChild<QLabel *>(u"failure"_s)->text().contains(u"not well-formed"_s));
        answerFileDialog(fixture.filePath(u"7 Vimeo.xml"_s));
        WindowFixture::click(sites, u"import"_s);
        QVERIFY(sites->findChild<QLabel *>(u"note"_s)->text().startsWith(u"Vimeo is ready"_s));
        QTest::keyClick(control<QComboBox>(sites, u"preset", 8), Qt::Key_End);
        QCOMPARE(control<QLineEdit>(sites, u"search", 8)->text(),
                 u"https://vimeo.com/search?q=%s"_s);
    }

    void window_changesTheLineupThroughItsControls()
    {
        WindowFixture fixture({AllChosen});
        QWidget *sites = openSites(fixture);
        auto *save = sites->findChild<QWidget *>(u"save"_s);

        // A choice fills the row: YouTube, Dailymotion, then Vimeo.
        for (int step = 0; step < 3; ++step)
            QTest::keyClick(control<QComboBox>(sites, u"preset", 6), Qt::Key_Down);
        QCOMPARE(control<QLineEdit>(sites, u"name", 6)->text(), u"Vimeo"_s);
        QCOMPARE(control<QLineEdit>(sites, u"search", 6)->text(),
                 u"https://vimeo.com/search?q=%s"_s);

        // A problem keeps SAVE off and is named beside its field until it is mended.
        retype(sites, u"start", 2, u"video.example"_s);
        retype(sites, u"search", 4, u"https://a.example/?q=%s&r=%s"_s);
        QVERIFY(!save->isEnabled());
        QVERIFY(control<QLabel>(sites, u"startProblem", 2)->text().contains(u"http or https"_s));
        QVERIFY(control<QLabel>(sites, u"searchProblem", 4)->text().contains(u"at most once"_s));
        WindowFixture::click(sites, u"builtIn(2)"_s);
        WindowFixture::click(sites, u"builtIn(4)"_s);
        QVERIFY(save->isEnabled());
        QVERIFY(control<QLabel>(sites, u"startProblem", 2)->isHidden());

        // SAVE applies at once and writes only what differs from the built-in lineup.
        WindowFixture::click(sites, u"save"_s);
        QTRY_VERIFY(!sites->isVisible());
        QCOMPARE(fixture.tabs()->tabText(6), u"Vimeo"_s);
        QCOMPARE(optionLabel(fixture, 6), u"Vimeo"_s);
        QCOMPARE(fixture.fileBytes(u"sites.ini"_s), Vimeo7);
        // The home page shows the new lineup; the next search goes to the new template.
        QCOMPARE(fixture.log, (QStringList{u"WebBrowser1(6) navigate https://vimeo.com/"_s,
                                           u"WebBrowser1(9) showPage reelhop:home"_s}));
        QVERIFY(fixture.view(9)->shownHtml.contains(u">Vimeo<"_s));
        fixture.find<QLineEdit>(u"Text1"_s)->setText(u"C++ & more"_s);
        fixture.click(u"Command21"_s);
        QCOMPARE(fixture.log.at(8),
                 navigation(6, u"https://vimeo.com/search?q=C%2B%2B%20%26%20more"_s));

        // CANCEL changes nothing.
        sites = openSites(fixture);
        retype(sites, u"name", 0, u"Mine"_s);
        WindowFixture::click(sites, u"cancel"_s);
        QCOMPARE(fixture.tabs()->tabText(0), u"YOUTUBE"_s);
        QCOMPARE(fixture.fileBytes(u"sites.ini"_s), Vimeo7);

        // "Built-in for All" brings back every built-in site.
        sites = openSites(fixture);
        QCOMPARE(control<QLineEdit>(sites, u"name", 0)->text(), u"YOUTUBE"_s);
        WindowFixture::click(sites, u"allBuiltIn"_s);
        WindowFixture::click(sites, u"save"_s);
        QCOMPARE(siteCaptions(fixture), BuiltInCaptions);
        QCOMPARE(fixture.fileBytes(u"sites.ini"_s), QByteArray());
        QVERIFY(fixture.log.constLast().startsWith(u"WebBrowser1(9)"_s));
        QVERIFY(fixture.log.contains(
            navigation(6, SiteCatalogue::builtInLineup()[6].startPage))); // Vimeo's tab goes back

        // A site of one's own on a closed site's row starts at its own home; the closed row
        // says so in words, not in the program's own addresses.
        sites = openSites(fixture);
        QCOMPARE(control<QLineEdit>(sites, u"start", 7)->text(), QString());
        QVERIFY(control<QLineEdit>(sites, u"search", 7)->placeholderText().contains(u"closed"_s));
        retype(sites, u"name", 7, u"ExampleNet"_s);
        retype(sites, u"search", 7, u"https://example.net/find?q=%s"_s);
        WindowFixture::click(sites, u"save"_s);
        QCOMPARE(fixture.fileBytes(u"sites.ini"_s),
                 QByteArray("[site8]\nname=ExampleNet\nstart=https://example.net/\n"
                            "search=https://example.net/find?q=%s\nkeyword=break\n"));
        // The home page names it, not the closed site; a favorite on HOME stays at the next SAVE.
        QVERIFY(fixture.view(9)->shownHtml.contains(u">ExampleNet<"_s));
        QVERIFY(!fixture.view(9)->shownHtml.contains(u"Break.com (closed)"_s));
        fixture.view(9)->location = u"http://favorite.example/"_s;
        fixture.log.clear();
        sites = openSites(fixture);
        retype(sites, u"name", 7, u"ExampleNet 2"_s);
        WindowFixture::click(sites, u"save"_s);
        QCOMPARE(fixture.tabs()->tabText(7), u"ExampleNet 2"_s);
        QVERIFY(!fixture.log.join(u'\n').contains(u"WebBrowser1(9)"_s));
    }
};

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
