#include "blocking/filter_set.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace Blocking;

namespace {

// "\n" and "\xNN" as the bytes they stand for; any other backslash is itself.
QByteArray unescaped(const QByteArray &cell)
{
    QByteArray bytes;
    for (qsizetype at = 0; at < cell.size(); ++at) {
        if (cell[at] == '\\' && cell.mid(at + 1, 1) == "n") {
            bytes += '\n';
            ++at;
        } else if (cell[at] == '\\' && cell.mid(at + 1, 1) == "x") {
            bytes += char(cell.mid(at + 2, 2).toInt(nullptr, 16));
            at += 3;
        } else {
            bytes += cell[at];
        }
    }
    return bytes;
}

} // namespace

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
        QFile cases(QStringLiteral(FILTER_CASES));
        if (!cases.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", FILTER_CASES);
        for (const QByteArray &line : cases.readAll().split('\n')) {
            const QList<QByteArray> cells = line.split('\t');
            if (line.startsWith('#') || cells.size() != 6)
                continue;
            const auto text = [](const QByteArray &cell) { return QString::fromLatin1(cell); };
            QTest::newRow(cells[0].constData()) << unescaped(cells[1]) << text(unescaped(cells[2]))
                                                << (cells[3] == "-"        ? page
                                                    : cells[3] == "(none)" ? QString()
                                                                           : text(cells[3]))
                                                << cells[4] << text(cells[5]);
        }
    }

    void decide_followsTheListSyntax()
    {
        QFETCH(QByteArray, rules);
        QFETCH(QString, address);
        QFETCH(QString, page);
        QFETCH(QByteArray, type);
        QFETCH(QString, expected);
        FilterSet filters;
        // Lists apart: "!list" on a line of its own begins the next.
        int number = 0;
        for (const QByteArray &list : QByteArray(rules).replace("\n!list\n", "\x01").split('\x01'))
            filters.addList(u"list %1"_s.arg(++number), list);
        const Decision decision =
            filters.decide(Request::make(QUrl(address), QUrl(page), *requestTypeNamed(type)));
        QString outcome = decision.outcome == Decision::Outcome::Blocked   ? u"blocked"_s
                          : decision.outcome == Decision::Outcome::Allowed ? u"allowed"_s
                                                                           : u"none"_s;
        // What stands in for the request, or where it goes instead.
        for (const QByteArray &instead : {decision.resource, decision.withoutParameters})
            if (!instead.isEmpty())
                outcome += u' ' + QString::fromLatin1(instead);
        QCOMPARE(outcome, expected);
        if (decision.outcome != Decision::Outcome::NoRule || !decision.withoutParameters.isEmpty())
            QVERIFY(decision.list.startsWith(u"list "_s));
    }

    // Each type the lists name is one of its own: a rule naming it applies to that type alone.
    void decide_appliesARuleToTheOneTypeItNames()
    {
        const QList<QByteArray> names{"script",      "image",    "stylesheet", "object",    "xhr",
                                      "subdocument", "media",    "font",       "websocket", "ping",
                                      "other",       "document", "popup"};
        for (const QByteArray &name : names) {
            FilterSet filters;
            filters.addList(u"list"_s, "||ads.example^$" + name);
            for (const QByteArray &asked : names) {
                const Request request =
                    Request::make(QUrl(u"https://ads.example/x"_s),
                                  QUrl(u"https://page.example/"_s), *requestTypeNamed(asked));
                QVERIFY2(filters.decide(request).blocked() == (asked == name),
                         (name + " asked as " + asked).constData());
            }
        }
    }

    // An address holding the tokens of many rules, each once: each rule is tried where its own
    // token stands, however many tokens the address holds.
    void decide_triesEveryTokenOfAnAddressOfMany_data()
    {
        QTest::addColumn<int>("matching");
        for (int matching : {1, 63, 64, 65, 200})
            QTest::addRow("token %d of 200", matching) << matching;
    }

    void decide_triesEveryTokenOfAnAddressOfMany()
    {
        QFETCH(int, matching);
        QByteArray list;
        QByteArray address = "https://t.test/";
        for (int index = 1; index <= 200; ++index) {
            list += "/tok" + QByteArray::number(index) + "/end\n";
            address += "tok" + QByteArray::number(index) + (index == matching ? "/end/" : "/");
        }
        FilterSet filters;
        filters.addList(u"list"_s, list);
        const Decision decision =
            filters.decide(Request::make(QUrl::fromEncoded(address), QUrl(), RequestType::Image));
        QCOMPARE(decision.rule, "/tok" + QByteArray::number(matching) + "/end");
    }

    // An address is decided as Qt encodes it, byte for byte, however long its query and whatever
    // character stands in it, first or last of sixteen: a long query is taken as Qt keeps it,
    // which must not be where Qt would encode a character. Past Latin-1, every low byte.
    void request_keepsTheAddressAsQtEncodesIt()
    {
        const QString longQuery(20000, u'q');
        for (char16_t character = 0; character < 512; ++character) {
            const QString c(QChar{character});
            for (const QString &text :
                 {u"https://h.test/p?"_s + longQuery + c,
                  u"https://h.test/p?"_s + c + u'?' + longQuery,
                  u"https://h.test/p?"_s + longQuery.first(15) + c + longQuery,
                  u"https://u:p@h.test:81/p?"_s + longQuery + u"%4"_s + c + u"#f"_s + c}) {
                QList<QUrl> addresses{QUrl(text)};
                if (character < 256)
                    addresses.append(QUrl::fromEncoded(text.toLatin1()));
                for (const QUrl &address : addresses)
                    QCOMPARE(Request::make(address, QUrl(), RequestType::Other).address,
                             address.toEncoded());
            }
        }
    }

    // A capital is lowered wherever it stands in an address's eight-byte words or its last bytes.
    void request_lowersEveryCapital()
    {
        for (const char capital : {'A', 'Z'}) {
            for (int before = 0; before < 24; ++before) {
                QByteArray path = QByteArray(before, 'x') + capital + "yy";
                const Request request = Request::make(QUrl::fromEncoded("https://t.test/" + path),
                                                      QUrl(), RequestType::Image);
                path[before] = char(capital + 'a' - 'A');
                QCOMPARE(request.lowerAddress, "https://t.test/" + path);
            }
        }
    }

    // An address that repeats itself keeps a place a distinct surrounding, not one a repeat: what
    // keeps a 2 MB address from costing every index a walk over 666,000 places.
    void tokenPlaces_keepOnePlaceARepeatedSurrounding()
    {
        QByteArray address = "https://t.test/img?";
        for (int repeat = 0; repeat < 10000; ++repeat)
            address += repeat == 5000 ? "ad-" : "ad_";
        KnownTokens known;
        forEachToken("ad", [&](qsizetype, qsizetype, quint32 hash) { known.add(hash); });
        const TokenPlaces places(address, known, {address, 1, 3, address.indexOf("/img")});
        QCOMPARE(places.tokens().size(), 1);
        const qsizetype first = address.indexOf("ad");
        const qsizetype changed = first + 3 * 5000;
        // The first place, those beside the one changed byte, and the one after it.
        QCOMPARE(std::vector<qsizetype>(places.places(places.tokens()[0]).begin(),
                                        places.places(places.tokens()[0]).end()),
                 (std::vector<qsizetype>{first, first + 3, changed, changed + 3, changed + 6}));
    }

    // However an address repeats itself, every place of a known token has its surroundings (as
    // far as the rules reach) at a place kept for that token, and a long repeat keeps few: a place
    // passed over with surroundings of its own would be a rule there unseen.
    void tokenPlaces_keepEverySurroundingOnce_data()
    {
        QTest::addColumn<QByteArray>("address");
        QTest::addColumn<QByteArrayList>("known");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        const QByteArray ad = QByteArray("ad_").repeated(3000);
        QTest::newRow("the reach the distance")
            << "https://t.test/i?" + ad + "ad-" + ad << QByteArrayList{"ad"} << 1 << 3;
        QTest::newRow("a reach past the distance")
            << "https://t.test/i?" + ad + "ad-" + ad << QByteArrayList{"ad"} << 4 << 9;
        QTest::newRow("a change near the run's start")
            << "https://t.test/i?ad_ad-" + ad << QByteArrayList{"ad"} << 1 << 3;
        QTest::newRow("two tokens, the second changed near the end")
            << "https://t.test/i?" + QByteArray("ad_zz/").repeated(2000) + "ad_zq/" +
                   QByteArray("ad_zz/").repeated(3)
            << QByteArrayList{"ad", "zz", "zq"} << 6 << 2;
        QTest::newRow("a token longer than the reach after it")
            << "https://t.test/p?" + QByteArray("banner/x/").repeated(1500) + "banner/y/"
            << QByteArrayList{"banner", "x", "y"} << 5 << 1;
        QTest::newRow("a run broken twice") << "https://t.test/i?" + ad + "ad." + ad + "x" + ad
                                            << QByteArrayList{"ad", "x"} << 2 << 5;
    }

    void tokenPlaces_keepEverySurroundingOnce()
    {
        QFETCH(QByteArray, address);
        QFETCH(QByteArrayList, known);
        QFETCH(int, before);
        QFETCH(int, after);
        KnownTokens tokens;
        for (const QByteArray &token : known)
            forEachToken(token, [&](qsizetype, qsizetype, quint32 hash) { tokens.add(hash); });
        const qsizetype hostEnd = address.indexOf('/', 8);
        const TokenPlaces places(address, tokens, {address, before, after, hostEnd});
        QHash<quint32, QSet<QByteArray>> keptAround;
        QHash<quint32, QSet<qsizetype>> kept;
        for (const TokenPlaces::Token &token : places.tokens()) {
            QVERIFY2(places.places(token).size() <= 12, "a repeat costs a place a repeat");
            for (qsizetype place : places.places(token)) {
                keptAround[token.hash].insert(address.mid(place - before, before + after));
                kept[token.hash].insert(place);
            }
        }
        forEachToken(address, [&](qsizetype at, qsizetype, quint32 hash) {
            if (!tokens.has(hash, at, hostEnd))
                return;
            const bool whole = at - before >= hostEnd && at + after <= address.size();
            QVERIFY2(whole ? keptAround[hash].contains(address.mid(at - before, before + after))
                           : kept[hash].contains(at),
                     qPrintable(u"place %1 has no kept place of its surroundings"_s.arg(at)));
        });
    }

    // Places far apart with the same surroundings are tried once, the first of each: what keeps
    // a token the lists' hosts hold 67,000 times from trying its rules at each.
    void distinctSurroundings_keepTheFirstOfEach()
    {
        const auto placesOf = [](const QByteArray &address) {
            QVarLengthArray<qsizetype, 64> places;
            for (qsizetype at = address.indexOf("ad_"); at >= 0;
                 at = address.indexOf("ad_", at + 1))
                places.append(at);
            return places;
        };
        const QByteArray address = "https://t.test/" + QByteArray("ad_1/x/").repeated(20) +
                                   "ad_2/x/" + QByteArray("ad_1/x/").repeated(20) + "ad_1";
        const auto places = placesOf(address);
        // The last place's surroundings run past the address: kept whatever they hold.
        QCOMPARE(distinctSurroundings(places, address, 1, 5, 14),
                 (QVarLengthArray<qsizetype, 64>{15, address.indexOf("ad_2"), places.back()}));
        // 5,000 surroundings, each twice: more than the table they are told apart in first
        // holds, so it grows on the way. The last place's end where the address does: a repeat.
        QByteArray distinct;
        for (int number = 10000; number < 15000; ++number)
            distinct += "ad_" + QByteArray::number(number) + '/';
        const QByteArray twice = "https://t.test/" + distinct + distinct;
        const auto placesTwice = placesOf(twice);
        QCOMPARE(distinctSurroundings(placesTwice, twice, 1, 9, 14),
                 (QVarLengthArray<qsizetype, 64>(placesTwice.begin(), placesTwice.begin() + 5000)));
    }

    // Each known token once, in the order it first stands, with every place of it in order,
    // however many tokens: the table they are gathered in grows past its first size on the way.
    void tokenPlaces_gatherEveryPlaceOfEachToken()
    {
        QByteArray address = "https://t.test/";
        for (int round = 0; round < 3; ++round)
            for (int number = 0; number < 300; ++number)
                address += 'k' + QByteArray::number(number) + '/';
        KnownTokens known;
        forEachToken(QByteArrayView(address).sliced(15),
                     [&](qsizetype, qsizetype, quint32 hash) { known.add(hash); });
        QList<quint32> order;
        QHash<quint32, std::vector<qsizetype>> expected;
        forEachToken(address, [&](qsizetype at, qsizetype, quint32 hash) {
            if (!known.has(hash, at, 14))
                return;
            if (!expected.contains(hash))
                order.append(hash);
            expected[hash].push_back(at);
        });
        const TokenPlaces places(address, known, {address, 0, 0, 14});
        QCOMPARE(places.tokens().size(), order.size());
        for (qsizetype index = 0; index < order.size(); ++index) {
            const TokenPlaces::Token &token = places.tokens()[index];
            QCOMPARE(token.hash, order[index]);
            const auto found = places.places(token);
            QCOMPARE(std::vector<qsizetype>(found.begin(), found.end()), expected[order[index]]);
        }
    }

    // A token only anchored rules are filed under is looked up no farther than they reach past
    // the host, and up to there: what spares an address of the lists' thousands of hosts a lookup
    // a token.
    void tokenPlaces_lookForAnAnchoredTokenUpToItsReach()
    {
        const QByteArray address = "https://zz.test/zz/zz/zz";
        quint32 zz = NoToken;
        forEachToken("zz", [&](qsizetype, qsizetype, quint32 hash) { zz = hash; });
        KnownTokens known;
        known.addNearStart(zz, 4);
        known.addNearStart(zz, 1);
        const TokenPlaces places(address, known, {address, 0, 0, address.indexOf(".test/") + 5});
        QCOMPARE(places.tokens().size(), 1);
        QCOMPARE(std::vector<qsizetype>(places.places(places.tokens()[0]).begin(),
                                        places.places(places.tokens()[0]).end()),
                 (std::vector<qsizetype>{8, 16, 19}));
    }

    // A peer blocker's own pairs, each a filter and a request it matches: what a filter means as
    // the lists' authors meant it. An exception is asked beside the rule it excepts.
    void decide_agreesWithAPeerBlocker_data()
    {
        QTest::addColumn<QByteArray>("filter");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("type");

        QFile corpus(QStringLiteral(PEER_CORPUS));
        if (!corpus.open(QIODevice::ReadOnly))
            QSKIP("the peer corpus is not beside the checkout");
        const QJsonArray pairs = QJsonDocument::fromJson(corpus.readAll())[u"pairs"_s].toArray();
        QVERIFY(!pairs.isEmpty());
        for (const QJsonValue &pair : pairs) {
            const QString filter = pair[u"filter"_s].toString();
            QTest::newRow(qPrintable(filter))
                << filter.toUtf8() << pair[u"url"_s].toString() << pair[u"page"_s].toString()
                << pair[u"type"_s].toString();
        }
    }

    void decide_agreesWithAPeerBlocker()
    {
        QFETCH(QByteArray, filter);
        QFETCH(QString, address);
        QFETCH(QString, page);
        QFETCH(QString, type);
        const bool exception = filter.startsWith("@@");
        FilterSet filters;
        filters.addList(u"peer"_s, exception ? filter.sliced(2) + '\n' + filter : filter);
        // The peer's names for what a page fetches by script, or the page itself.
        static const QHash<QString, QByteArray> PeerTypes{
            {u"fetch"_s, "xhr"}, {u"sub_frame"_s, "subdocument"}, {u"main_frame"_s, "document"}};
        const RequestType requestType =
            *requestTypeNamed(PeerTypes.value(type, type.toLatin1()));
        const QUrl from = page == "http://"_L1 || page == "https://"_L1 ? QUrl() : QUrl(page);
        const Decision decision = filters.decide(Request::make(QUrl(address), from, requestType));
        // The peer asks "|ws://" rules of the bare "https://": a scheme they do not name.
        const bool otherScheme = filter.startsWith("|ws://") && address == "https://"_L1;
        QCOMPARE(int(decision.outcome), int(otherScheme ? Decision::Outcome::NoRule
                                            : exception ? Decision::Outcome::Allowed
                                                        : Decision::Outcome::Blocked));
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

    void hiding_givesSheetsByPage_andRulesForEverySiteByTheirName()
    {
        FilterSet filters;
        filters.addList(u"l"_s,
                        "##.generic-ad\nvideos.example##.site-ad\nother.example##.other\n"
                        "~videos.example##.not-here\n##.excused\nvideos.example#@#.excused\n"
                        "##a{}b\n@@||calm.example^$generichide\n@@||free.example^$elemhide\n"
                        "videos.*##.everywhere\nwww.videos.*##.www\n~www.videos.*##.not-www\n"
                        "##div.boxed\n###top > .x\n##.a, .b\n###top\n##.gone\n#@#.gone\n"
                        "##div.wide\nvideos.example#@#div.wide\n");
        const auto sheet = [](std::initializer_list<const char *> selectors) {
            QByteArray css;
            for (const char *selector : selectors)
                css += QByteArray(selector) + "{display:none!important}\n";
            return css;
        };
        // The names a page holds, some with rules, some without; what they hide.
        const QStringList held{u".generic-ad"_s, u"#top"_s, u".excused"_s, u".gone"_s, u".a"_s,
                               u".site-ad"_s, u"#nothing"_s, u"top"_s};
        for (const auto &[page, css, byName] :
             {std::tuple{"https://www.videos.example/r", sheet({".site-ad", ".everywhere", ".www",
                                                                "div.boxed", ".a, .b"}),
                         sheet({".generic-ad", "#top > .x", "#top"})},
              {"https://m.videos.co.uk/", sheet({".not-here", ".everywhere", ".not-www",
                                                 "div.boxed", ".a, .b", "div.wide"}),
               sheet({".generic-ad", "#top > .x", "#top", ".excused"})},
              {"https://calm.example/", QByteArray(), QByteArray()},
              {"https://free.example/", QByteArray(), QByteArray()}}) {
            const PageHiding hiding = filters.hiding(QUrl(QString::fromLatin1(page)));
            QCOMPARE(hiding.styleSheet, css);
            QCOMPARE(hiding.byName ? hiding.byName(held) : QByteArray(), byName);
        }
        QCOMPARE(filters.ruleCount(), 19);
    }

    void hidingByName_keysTheSelectorsThatNeedOneName()
    {
        for (const auto &[selector, key] :
             {std::pair{"#ad", "#ad"}, {".ad-banner", ".ad-banner"}, {".ad > img", ".ad"},
              {".ad:not(.x)", ".ad"}, {"#a.b", "#a"}, {".ad[data-x]", ".ad"}, {".x~.y", ".x"},
              {".-x", ".-x"}, {"#_1", "#_1"}, {".a", ".a"}, {"#a", "#a"}, {".a, .b", ""},
              {".ad,.b", ""}, {"div.ad", ""}, {"[id^=ad]", ""}, {".1x", ""}, {".-1", ""},
              {".-", ""}, {".a\\:b", ""}, {"#", ""}, {".ad\xc3\xa9", ""}, {"\xc3\xa9", ""}})
            QCOMPARE(HidingByName::keyOf(selector), QByteArray(key));
    }
};

QTEST_GUILESS_MAIN(FilterSetTest)
#include "tst_filter_set.moc"
