#include "settings/settings_file.h"
#include "support/unprivileged_scope.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestSettingsFile : public QObject
{
    Q_OBJECT

private slots:
    void toBytes_writesEighteenFiveByteLines();
    void fromBytes_readsPlainAndPaddedNumbersWithAnyLineEnd();
    void fromBytes_stopsAtTheFirstMissingOrBadLine_data();
    void fromBytes_stopsAtTheFirstMissingOrBadLine();
    void saveThenLoad_roundTripsEveryState_missingFileGivesNothing();
    void save_intoReadOnlyFolder_failsAndKeepsTheOldFile();
};

void TestSettingsFile::toBytes_writesEighteenFiveByteLines()
{
    SettingsFile::States states{};
    states[9] = 1;  // search box of site 0
    states[12] = 1; // search box of site 3
    const QByteArray bytes = SettingsFile::toBytes(states);

    QByteArray expected;
    for (int line = 0; line < 18; ++line)
        expected += (line == 9 || line == 12) ? " 1 \r\n" : " 0 \r\n";
    QCOMPARE(bytes.size(), 90);
    QCOMPARE(bytes, expected);
}

void TestSettingsFile::fromBytes_readsPlainAndPaddedNumbersWithAnyLineEnd()
{
    const QList<int> expected{1, 0, 2};
    QCOMPARE(SettingsFile::fromBytes(" 1 \r\n 0 \r\n 2 \r\n"), expected);
    QCOMPARE(SettingsFile::fromBytes("1\r\n0\r\n2\r\n"), expected);
    QCOMPARE(SettingsFile::fromBytes("1\n0\n2\n"), expected);
    QCOMPARE(SettingsFile::fromBytes("1\r0\r2\r"), expected);
    QCOMPARE(SettingsFile::fromBytes("1\n 0\r\n2"), expected); // mixed, last line unended
    QCOMPARE(SettingsFile::fromBytes("\t1  \n  0\n2"), expected);
}

void TestSettingsFile::fromBytes_stopsAtTheFirstMissingOrBadLine_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<int>>("expected");

    QByteArray twenty;
    for (int line = 0; line < 20; ++line)
        twenty += line % 2 ? " 1 \r\n" : " 0 \r\n";
    QList<int> alternating;
    for (int box = 0; box < 18; ++box)
        alternating.append(box % 2);
    QTest::newRow("20 lines: the last two ignored") << twenty << alternating;

    QByteArray ten;
    for (int line = 0; line < 10; ++line)
        ten += " 1 \r\n";
    QTest::newRow("10 lines") << ten << QList<int>(10, 1);

    QTest::newRow("letter at line 4")
        << QByteArray(" 1 \r\n 1 \r\n 2 \r\n 0 \r\n x \r\n 1 \r\n") << QList<int>{1, 1, 2, 0};
    QTest::newRow("3 at line 2") << QByteArray(" 1 \r\n 0 \r\n 3 \r\n 1 \r\n") << QList<int>{1, 0};
    QTest::newRow("empty line at line 1") << QByteArray("1\r\n\r\n1\r\n") << QList<int>{1};
    QTest::newRow("two numbers") << QByteArray("1 1\r\n") << QList<int>{};
    QTest::newRow("empty file") << QByteArray() << QList<int>{};
    QTest::newRow("binary garbage") << QByteArray("\xff\xfe\x00\x01", 4) << QList<int>{};
}

void TestSettingsFile::fromBytes_stopsAtTheFirstMissingOrBadLine()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<int>, expected);
    QCOMPARE(SettingsFile::fromBytes(bytes), expected);
}

void TestSettingsFile::saveThenLoad_roundTripsEveryState_missingFileGivesNothing()
{
    QTemporaryDir folder;
    const QString path = SettingsFile::path(folder.path());
    QCOMPARE(path, folder.filePath(u"svng.msf"_qs));
    QCOMPARE(SettingsFile::load(path), QList<int>{});

    SettingsFile::States states{};
    for (int box = 0; box < SettingsFile::BoxCount; ++box)
        states[box] = box % 3;
    QVERIFY(SettingsFile::save(path, states));
    QCOMPARE(SettingsFile::load(path), QList<int>(states.begin(), states.end()));
}

void TestSettingsFile::save_intoReadOnlyFolder_failsAndKeepsTheOldFile()
{
    QTemporaryDir folder;
    const QString path = SettingsFile::path(folder.path());
    SettingsFile::States old{};
    old.fill(1);
    QVERIFY(SettingsFile::save(path, old));
    QVERIFY(makeReadOnly(folder.path()));

    {
        const UnprivilegedScope asOrdinaryUser;
        SettingsFile::States changed{};
        QVERIFY(!SettingsFile::save(path, changed));
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), SettingsFile::toBytes(old));
    QVERIFY(makeWritable(folder.path()));

    // A program folder that is not a folder at all fails as well.
    QVERIFY(!SettingsFile::save(SettingsFile::path(path), old));
}

QTEST_APPLESS_MAIN(TestSettingsFile)
#include "tst_settings_file.moc"
