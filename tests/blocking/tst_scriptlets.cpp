#include "blocking/filter_set.h"
#include "blocking/scriptlet_library.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace Blocking;
using Call = ScriptletLibrary::Call;
using World = ScriptletLibrary::World;

namespace {

// A package's modules in both of the forms the package has used: functions registered with
// their helpers named by identifier, and entries pushed with helpers named by name. Their code
// holds what a bracket counter must read past: strings, a template literal, a regular
// expression (and divisions, which are none), comments, default parameters and a class with a
// private field.
const QByteArray Base = "export const registeredScriptlets = [];\n"
                        "export const registerScriptlet = (fn, details) => {\n"
                        "    registeredScriptlets.push(details);\n};\n";
const QByteArray Helpers =
    "import { registerScriptlet } from './base.js';\n"
    "import { Counter as __Counter__ } from '../counter.js';\n"
    "export const Counter = __Counter__;\n"
    "registerScriptlet(Counter, { name: 'counter.fn' });\n"
    "export function safeFn(a = { b: '}' }) {\n"
    "    const re = /\\{[^}]*\\}/; // }\n"
    "    const empty = '' + '{' + \"\" + \"{\" + `` + `{`;\n"
    "    const half = (2 + 2) / 2;\n"
    "    /* } */ return `${ { x: '}' }.x }` + re.source + \"}\";\n"
    "}\n"
    "registerScriptlet(safeFn, {\n    name: 'safe.fn',\n    dependencies: [ Counter, ],\n});\n";
const QByteArray Counter =
    "export class Counter {\n    #count = 0;\n    next() { return ++this.#count; }\n}\n";
const QByteArray Scriptlets =
    "import './helpers.js';\nimport { safeFn } from './helpers.js';\n"
    "import '../../outside.js';\n"
    "import { registeredScriptlets as builtinScriptlets } from './base.js';\n"
    "builtinScriptlets.push({\n    name: 'set-flag.js',\n    aliases: [ 'flag.js' ],\n"
    "    fn: setFlag,\n    dependencies: [\n        'safe.fn',\n    ],\n});\n"
    "function setFlag(name, value) {\n    window[name] = safeFn() && value;\n}\n"
    "export function apart() {}\n"
    "registerScriptlet(apart, { name: 'apart.js', world: 'ISOLATED', });\n"
    "function trusted() {}\n"
    "registerScriptlet(trusted, {\n    name: 'trusted-thing.js',\n    requiresTrust: true,\n});\n";

void write(const QString &path, const QByteArray &bytes)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

} // namespace

// The package's functions for in-page rules, the rules that name them and what a page gets.
class ScriptletsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_package;
    ScriptletLibrary m_library;

private slots:
    void initTestCase()
    {
        write(m_package.filePath(u"js/resources/base.js"_s), Base);
        write(m_package.filePath(u"js/resources/helpers.js"_s), Helpers);
        write(m_package.filePath(u"js/counter.js"_s), Counter);
        write(m_package.filePath(u"js/resources/scriptlets.js"_s), Scriptlets);
        write(m_package.filePath(u"outside.js"_s),
              "function evil() {}\nregisterScriptlet(evil, { name: 'evil.js' });\n");
        m_library = ScriptletLibrary::read({m_package.path()});
        QCOMPARE(m_library.size(), 5);
    }

    // A function with its helpers, each once, as the modules wrote them, then the calls.
    void compose_takesFunctionsAndHelpersAsWritten()
    {
        const QString script = m_library.compose(
            {{u"flag"_s, {u"a"_s, u"\"}"_s}}, {u"set-flag.js"_s, {u"b"_s}}}, World::Page);
        const QByteArray setFlag = Scriptlets.sliced(Scriptlets.indexOf("function setFlag"));
        QCOMPARE(script.toUtf8(),
                 "(function () {\nconst scriptletGlobals = {};\n" +
                     setFlag.first(setFlag.indexOf("\n}\n") + 2) + '\n' +
                     Helpers.sliced(Helpers.indexOf("function safeFn"))
                         .first(Helpers.indexOf("\n}\n") + 2 - Helpers.indexOf("function safeFn")) +
                     '\n' + Counter.sliced(7).chopped(1) + '\n' +
                     "try { setFlag(...[\"a\",\"\\\"}\"]); } catch (e) {}\n"
                     "try { setFlag(...[\"b\"]); } catch (e) {}\n})();\n");
        // Each world its own; nothing runs where no call does.
        QVERIFY(m_library.compose({{u"apart"_s, {}}}, World::Isolated).contains(u"apart(...[])"_s));
        QCOMPARE(m_library.compose({{u"apart"_s, {}}}, World::Page), QString());
        QCOMPARE(m_library.compose({{u"evil"_s, {}}}, World::Page), QString());
    }

    void availability_ofWhatRulesMayCall_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("trusted");
        QTest::addColumn<int>("expected");
        using A = ScriptletLibrary::Availability;
        QTest::newRow("by name") << u"set-flag"_s << false << int(A::Available);
        QTest::newRow("by alias") << u"flag.js"_s << false << int(A::Available);
        QTest::newRow("a helper") << u"safe.fn"_s << true << int(A::Missing);
        QTest::newRow("outside the package's code") << u"evil"_s << true << int(A::Missing);
        QTest::newRow("needing trust") << u"trusted-thing"_s << false << int(A::NeedsTrust);
        QTest::newRow("from a trusted list") << u"trusted-thing"_s << true << int(A::Available);
    }

    void availability_ofWhatRulesMayCall()
    {
        QFETCH(QString, name);
        QFETCH(bool, trusted);
        QFETCH(int, expected);
        QCOMPARE(int(m_library.availability(name, trusted)), expected);
    }

    void parseCall_splitsAndUnquotes_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("plain") << QByteArray("json-prune, a b") << u"json-prune.js"_s
                               << QStringList{u"a b"_s};
        QTest::newRow("escaped comma, quotes, empty")
            << QByteArray(" set.js , x\\, y, 'q', \"r\", `s`, , 'only") << u"set.js"_s
            << QStringList{u"x, y"_s, u"q"_s, u"r"_s, u"s"_s, QString(), u"'only"_s};
        QTest::newRow("no arguments") << QByteArray("noeval") << u"noeval.js"_s << QStringList();
    }

    void parseCall_splitsAndUnquotes()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, name);
        QFETCH(QStringList, arguments);
        const Call call = ScriptletLibrary::parseCall(text);
        QCOMPARE(call.name, name);
        QCOMPARE(call.arguments, arguments);
    }

    // Which rules a frame of a host gets, past exceptions and pages excused.
    void scriptletsFor_followsDomainsAndExceptions_data()
    {
        QTest::addColumn<QByteArray>("rules");
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QStringList>("expected"); // the first argument of each call
        const QByteArray rules = "videos.example##+js(flag, site)\n##+js(flag, everywhere)\n"
                                 "~quiet.videos.example,videos.*##+js(flag, entity)\n"
                                 "other.example##+js(flag, other)\n";
        const auto row = [&](const char *name, const QByteArray &more, const char *frame,
                             const QStringList &expected) {
            QTest::newRow(name) << rules + more << QString::fromLatin1(frame) << expected;
        };
        row("site, subdomain, entity, generic", {}, "https://m.videos.example/",
            {u"site"_s, u"everywhere"_s, u"entity"_s});
        row("excluded", {}, "https://quiet.videos.example/", {u"site"_s, u"everywhere"_s});
        row("another site", {}, "https://x.test/", {u"everywhere"_s});
        row("exception of one", "videos.example#@#+js(flag, site)\n", "https://videos.example/",
            {u"everywhere"_s, u"entity"_s});
        row("exception of one, other arguments", "videos.example#@#+js(flag, elsewhere)\n",
            "https://videos.example/", {u"site"_s, u"everywhere"_s, u"entity"_s});
        row("exception of all", "videos.example#@#+js()\n", "https://videos.example/", {});
        row("generic hiding excused", "@@||videos.example^$ghide\n", "https://videos.example/",
            {u"site"_s, u"entity"_s});
        row("element hiding excused", "@@||videos.example^$elemhide\n", "https://videos.example/",
            {});
        row("the page excused", "@@||videos.example^$document\n", "https://videos.example/", {});
        row("a function the package lacks", "videos.example##+js(nothing, x)\n",
            "https://videos.example/", {u"site"_s, u"everywhere"_s, u"entity"_s});
        row("needing trust, from another list", "videos.example##+js(trusted-thing, x)\n",
            "https://videos.example/", {u"site"_s, u"everywhere"_s, u"entity"_s});
    }

    void scriptletsFor_followsDomainsAndExceptions()
    {
        QFETCH(QByteArray, rules);
        QFETCH(QString, frame);
        QFETCH(QStringList, expected);
        FilterSet filters;
        filters.useScriptlets(std::make_shared<const ScriptletLibrary>(m_library));
        const ListCount count = filters.addList(u"l"_s, rules);
        QStringList firsts;
        for (const Call &call : filters.scriptletsFor(QUrl(frame)))
            firsts.append(call.arguments.value(0));
        QCOMPARE(firsts, expected);
        QCOMPARE(count.skippedFor.value("+js() the package lacks"), int(rules.contains("nothing")));
        QCOMPARE(count.skippedFor.value("+js() only the package's lists may use"),
                 int(rules.contains("trusted-thing")));
    }

    // The package's own lists may call every function.
    void trustedList_callsWhatNeedsTrust()
    {
        FilterSet filters;
        filters.useScriptlets(std::make_shared<const ScriptletLibrary>(m_library));
        filters.addList(u"l"_s, "videos.example##+js(trusted-thing, x)\n", true);
        QCOMPARE(filters.scriptletsFor(QUrl(u"https://videos.example/"_s)).size(), 1);
    }
};

QTEST_GUILESS_MAIN(ScriptletsTest)
#include "tst_scriptlets.moc"
