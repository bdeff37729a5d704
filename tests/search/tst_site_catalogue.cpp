#include "search/site_catalogue.h"

#include <QTest>

class TestSiteCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void searchAddress_carriesTheWholeTextEncodedAsUtf8_data();
    void searchAddress_carriesTheWholeTextEncodedAsUtf8();
};

void TestSiteCatalogue::searchAddress_carriesTheWholeTextEncodedAsUtf8_data()
{
    QTest::addColumn<int>("site");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");
    const QList<std::pair<const char *, QByteArray>> texts{
        {"", ""},
        {"rock & roll", "rock%20%26%20roll"},
        {"C#", "C%23"},
        {"AC/DC", "AC%2FDC"},
        {"Björk Ørsted", "Bj%C3%B6rk%20%C3%98rsted"},
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
    for (int site = 0; site < SiteCatalogue::SiteCount; ++site) {
        for (const auto &[text, encoded] : texts)
            QTest::addRow("site %d, \"%s\"", site, text)
                << site << QString::fromUtf8(text) << prefixes[site] + encoded;
    }
}

void TestSiteCatalogue::searchAddress_carriesTheWholeTextEncodedAsUtf8()
{
    QFETCH(int, site);
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);
    const QUrl address = SiteCatalogue::searchAddress(site, text);
    QVERIFY(address.isValid());
    // What the window hands to a view must be the same bytes.
    QCOMPARE(address.toString(QUrl::FullyEncoded), QString::fromLatin1(expected));
}

QTEST_APPLESS_MAIN(TestSiteCatalogue)
#include "tst_site_catalogue.moc"
