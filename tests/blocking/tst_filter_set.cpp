#include "blocking/filter_set.h"

#include <QFile>
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
