#include "blocking/filter_set.h"

#include <QTest>

using namespace Qt::StringLiterals;

using namespace Blocking;

// The rules against requests: anchors, separators, wildcards, options, domain lists, exceptions.
class FilterSetTest : public QObject
{
    Q_OBJECT

private slots:
    void decide_followsTheListSyntax_data()
    {
        QTest::addColumn<QByteArray>("rules");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<QString>("expected");

        const QString page = u"https://videos.example/results"_s;
        const auto row = [&](const char *name, const char *rules, const QByteArray &address,
                             const QString &from, const char *type, const char *expected) {
            QTest::newRow(name) << QByteArray(rules) << QString::fromLatin1(address) << from
                                << QByteArray(type) << QString::fromLatin1(expected);
        };
        // Anchors and separators.
        row("domain anchor", "||ads.test^", "https://ads.test/x.js", page, "script", "blocked");
        row("domain anchor, subdomain", "||ads.test^", "https://cdn.ads.test/x", page, "script",
            "blocked");
        row("domain anchor, other host", "||ads.test^", "https://badads.test/x", page, "script",
            "none");
        row("domain anchor, only in the path", "||ads.test^", "https://a.test/ads.test/x", page,
            "script", "none");
        row("separator at the end", "||ads.test^", "https://ads.test", page, "script", "blocked");
        row("separator is no letter", "||ads.test^", "https://ads.testing/", page, "script",
            "none");
        row("separator is no dot or dash", "||ads.test^", "https://ads.test-cdn.example/x", page,
            "script", "none");
        row("wildcard taking nothing before an end anchor", "/banner*.gif|",
            "https://t.test/banner.gif", page, "image", "blocked");
        row("start anchor", "|https://t.test/", "https://t.test/p", page, "image", "blocked");
        row("start anchor, elsewhere", "|t.test/", "https://t.test/p", page, "image", "none");
        row("end anchor", "/pixel.gif|", "https://t.test/a/pixel.gif", page, "image", "blocked");
        row("end anchor, more after", "/pixel.gif|", "https://t.test/pixel.gif?x=1", page, "image",
            "none");
        row("wildcard", "/banner/*/ad_", "https://t.test/banner/300/ad_1.png", page, "image",
            "blocked");
        row("wildcard, then a separator", "/banner/*^ad^", "https://t.test/banner/x/ad/1.png", page,
            "image", "blocked");
        row("plain substring", "-ad-banner.", "https://t.test/top-ad-banner.png", page, "image",
            "blocked");
        row("token inside a longer word", "/ads/", "https://t.test/loads/x", page, "image", "none");
        row("case ignored", "/AdFrame.", "https://t.test/adframe.html", page, "subdocument",
            "blocked");
        row("match-case", "/AdFrame.$match-case", "https://t.test/adframe.html", page,
            "subdocument", "none");
        row("query string", "&ad_slot=", "https://t.test/x?a=1&ad_slot=2", page, "xhr", "blocked");
        // A token an address repeats: the rule is looked for in every surrounding, never only
        // the first place, and a repeated surrounding past the host is one place.
        const QByteArray tenTimes = "https://t.test/" + QByteArray("ad_1/").repeated(10);
        row("the last place of a repeated token", "/ad_2.", tenTimes + "ad_2.gif", page, "image",
            "blocked");
        row("a repeated token, wildcard after", "/ad_2/*.gif|", tenTimes + "ad_2/x.gif", page,
            "image", "blocked");
        row("a repeated token, end anchor", "ad_1/|", tenTimes, page, "image", "blocked");
        row("a repeated token, end anchor, more after", "ad_1/|", tenTimes + "x", page, "image",
            "none");
        row("a repeated token, domain start", "||ad_1.t.test^",
            "https://ad_2.ad_1.t.test/" + QByteArray("ad_1/").repeated(10), page, "image",
            "blocked");
        // Types and parties.
        row("type wanted", "||t.test^$script", "https://t.test/a", page, "script", "blocked");
        row("type not wanted", "||t.test^$script", "https://t.test/a", page, "image", "none");
        row("type negated", "||t.test^$~image", "https://t.test/a", page, "image", "none");
        row("type negated, other type", "||t.test^$~image", "https://t.test/a", page, "font",
            "blocked");
        row("css alias", "||t.test^$css", "https://t.test/a", page, "stylesheet", "blocked");
        row("frame alias", "||t.test^$frame", "https://t.test/a", page, "subdocument", "blocked");
        row("no type: the page itself too", "||t.test^", "https://t.test/a", QString(), "document",
            "blocked");
        row("negation spares the page", "||t.test^$~script", "https://t.test/a", QString(),
            "document", "none");
        row("third-party, from another site", "||t.test^$third-party", "https://t.test/a", page,
            "image", "blocked");
        row("third-party, same site", "||t.test^$3p", "https://cdn.t.test/a",
            u"https://www.t.test/"_s, "image", "none");
        row("first-party", "||t.test^$1p", "https://t.test/a", u"https://t.test/"_s, "image",
            "blocked");
        row("~third-party, from another site", "||t.test^$~third-party", "https://t.test/a", page,
            "image", "none");
        row("country second level is no site", "||x.co.uk^$3p", "https://x.co.uk/a",
            u"https://y.co.uk/"_s, "image", "blocked");
        row("country second level under a code from a", "||x.com.au^$3p", "https://x.com.au/a",
            u"https://y.com.au/"_s, "image", "blocked");
        // Domain lists.
        row("domain included", "/ad.js$domain=videos.example", "https://t.test/ad.js", page,
            "script", "blocked");
        row("domain excluded", "/ad.js$domain=example|~videos.example", "https://t.test/ad.js",
            page, "script", "none");
        row("domain not listed", "/ad.js$domain=other.example", "https://t.test/ad.js", page,
            "script", "none");
        // Exceptions and important.
        row("exception", "||t.test^\n@@||t.test/ok^", "https://t.test/ok/1", page, "image",
            "allowed");
        row("exception of another type", "||t.test^\n@@||t.test^$script", "https://t.test/1", page,
            "image", "blocked");
        row("important beats an exception", "||t.test^$important\n@@||t.test^", "https://t.test/1",
            page, "image", "blocked");
        row("a page excused whole is no request excuse", "||t.test^\n@@||videos.example^$elemhide",
            "https://t.test/1", page, "image", "blocked");
        // Hosts files and what is skipped.
        row("hosts line", "0.0.0.0 ads.test", "https://x.ads.test/a", page, "image", "blocked");
        row("hosts line, 127.0.0.1 and a comment", "127.0.0.1 ads.test # ads", "https://ads.test/a",
            page, "image", "blocked");
        row("regular expression skipped", "/ad[0-9]+\\.js/", "https://t.test/ad1.js", page,
            "script", "none");
        row("plain path between slashes", "/adframe/", "https://t.test/adframe/1", page,
            "subdocument", "blocked");
        row("unknown option skips the rule", "||t.test^$redirect=noop.js", "https://t.test/a", page,
            "script", "none");
        row("popup rule skipped", "||t.test^$popup", "https://t.test/a", page, "document", "none");
        row("bad line does not stop the list", "$$$\n\xff\xfe\n||t.test^", "https://t.test/a", page,
            "image", "blocked");
    }

    void decide_followsTheListSyntax()
    {
        QFETCH(QByteArray, rules);
        QFETCH(QString, address);
        QFETCH(QString, page);
        QFETCH(QByteArray, type);
        QFETCH(QString, expected);
        FilterSet filters;
        filters.addList(u"test list"_s, rules);
        const Decision decision =
            filters.decide(Request::make(QUrl(address), QUrl(page), *requestTypeNamed(type)));
        const QString outcome = decision.outcome == Decision::Outcome::Blocked   ? u"blocked"_s
                                : decision.outcome == Decision::Outcome::Allowed ? u"allowed"_s
                                                                                 : u"none"_s;
        QCOMPARE(outcome, expected);
        if (decision.outcome != Decision::Outcome::NoRule)
            QCOMPARE(decision.list, u"test list"_s);
    }

    void addList_countsRulesAndSkippedLines()
    {
        FilterSet filters;
        const ListCount count = filters.addList(
            u"l"_s, "! comment\n[Adblock Plus 2.0]\n||a.test^\n##.ad\nexample.com##+js(noop)\n"
                    "example.com#?#div:has-text(Ad)\nexample.com##^script\n/re[g]/\n"
                    "||b.test^$csp=x\n# hosts comment\n0.0.0.0 localhost\n\n");
        QCOMPARE(count.rules, 2);
        QCOMPARE(count.skipped, 5);
    }

    void hidingStyleSheet_takesGenericSpecificAndExceptions()
    {
        FilterSet filters;
        filters.addList(u"l"_s,
                        "##.generic-ad\nvideos.example##.site-ad\nother.example##.other\n"
                        "~videos.example##.not-here\n##.excused\nvideos.example#@#.excused\n"
                        "##a{}b\n@@||calm.example^$generichide\n@@||free.example^$elemhide\n");
        const QByteArray sheet = filters.hidingStyleSheet(QUrl(u"https://www.videos.example/r"_s));
        QCOMPARE(sheet, QByteArray(".generic-ad{display:none!important}\n"
                                   ".site-ad{display:none!important}\n"));
        QCOMPARE(filters.hidingStyleSheet(QUrl(u"https://calm.example/"_s)), QByteArray());
        QCOMPARE(filters.hidingStyleSheet(QUrl(u"https://free.example/"_s)), QByteArray());
        QVERIFY(filters.hidingStyleSheet(QUrl(u"https://x.test/"_s)).contains(".excused{"));
    }
};

QTEST_GUILESS_MAIN(FilterSetTest)
#include "tst_filter_set.moc"
