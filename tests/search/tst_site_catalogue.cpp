#include "search/site_catalogue.h"

#include <QTest>

using namespace SiteCatalogue;

class TestSiteCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void searchAddress_encodesTextAsUtf8_data();
    void searchAddress_encodesTextAsUtf8();
    void startPages_arePlainHttpAddresses();
    void searchHost_differsFromStartPageOnlyForMySpaceBreakAndRevver();
    void viewOfTab_mapsHomeToViewNineAndNotesAndFavoritesToNone();
};

void TestSiteCatalogue::searchAddress_encodesTextAsUtf8_data()
{
    QTest::addColumn<int>("site");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");

    const QList<std::pair<const char *, QByteArray>> texts{
        {"", ""},
        {"cats", "cats"},
        {"rock & roll", "rock%20%26%20roll"},
        {"C#", "C%23"},
        {"AC/DC", "AC%2FDC"},
        {"Björk ünd Ørsted", "Bj%C3%B6rk%20%C3%BCnd%20%C3%98rsted"},
        {"  50%? +1 ~a_b-c.d ", "%20%2050%25%3F%20%2B1%20~a_b-c.d%20"},
    };
    const QList<QByteArray> prefixes{
        "http://www.youtube.com/results?search_query=",
        "http://video.google.com/videosearch?q=",
        "http://video.search.yahoo.com/search/video?p=",
        "http://video.aol.com/searchresults?invocationType=aolcomvideo&query=",
        "http://searchservice.myspace.com/index.cfm?fuseaction=vids.fullsearch&searchtarget=tvid"
        "&searchBoxID=HeaderWebResults&find=1&n=2&t=",
        "http://www.metacafe.com/tags/",
        "http://www.dailymotion.com/visited/search/",
        "http://my.break.com/Media/Search.aspx?SearchString=",
        "http://one.revver.com/find/video/",
    };
    for (int site = 0; site < SiteCount; ++site) {
        for (const auto &[text, encoded] : texts) {
            QTest::addRow("site %d, \"%s\"", site, text)
                << site << QString::fromUtf8(text) << prefixes[site] + encoded;
        }
    }
}

void TestSiteCatalogue::searchAddress_encodesTextAsUtf8()
{
    QFETCH(int, site);
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);

    const QUrl address = searchAddress(site, text);
    QVERIFY(address.isValid());
    QCOMPARE(address.toEncoded(), expected);
    // What the window hands to a view must be the same bytes.
    QCOMPARE(address.toString(QUrl::FullyEncoded), QString::fromLatin1(expected));
}

void TestSiteCatalogue::startPages_arePlainHttpAddresses()
{
    for (const VideoSite &site : Sites) {
        const QUrl url(site.startPage.toString());
        QVERIFY(url.isValid());
        QCOMPARE(url.scheme(), u"http"_qs);
        QCOMPARE(url.port(), -1);
        QVERIFY(!url.hasFragment());
    }
    QCOMPARE(Sites[4].startPage, u"http://vids.myspace.com/index.cfm?fuseaction=vids.videos");
}

void TestSiteCatalogue::searchHost_differsFromStartPageOnlyForMySpaceBreakAndRevver()
{
    for (int site = 0; site < SiteCount; ++site) {
        const QString startHost = QUrl(Sites[site].startPage.toString()).host();
        const QString searchHost = searchAddress(site, u"x"_qs).host();
        const bool secondHost = site == 4 || site == 7 || site == 8;
        QCOMPARE(searchHost != startHost, secondHost);
    }
    // MySpace searches through another "fuseaction" than its start page shows.
    QVERIFY(searchAddress(4, u"x"_qs).query().contains(u"fuseaction=vids.fullsearch"));
}

void TestSiteCatalogue::viewOfTab_mapsHomeToViewNineAndNotesAndFavoritesToNone()
{
    for (int tab = 0; tab < SiteCount; ++tab)
        QCOMPARE(viewOfTab(tab), std::optional<int>(tab));
    QCOMPARE(viewOfTab(FavoritesTab), std::nullopt);
    QCOMPARE(viewOfTab(NotesTab), std::nullopt);
    QCOMPARE(viewOfTab(HomeTab), std::optional<int>(HomeView));
}

QTEST_APPLESS_MAIN(TestSiteCatalogue)
#include "tst_site_catalogue.moc"
