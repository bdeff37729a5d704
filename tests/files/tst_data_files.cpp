#include "blocking/blocking_settings.h"
#include "blocking/filter_lists.h"
#include "browsing/memory_saver.h"
#include "browsing/zoom_levels.h"
#include "favorites/favorites_file.h"
#include "files/data_file.h"
#include "search/search_history.h"
#include "search/site_groups.h"
#include "search/sites_file.h"
#include "settings/settings_file.h"
#include "support/settings_bytes.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

using Items = QList<FavoritesFile::Item>;

class TestDataFiles : public QObject
{
    Q_OBJECT

private slots:
    void settings_writesNinetyBytes_readsUpToTheFirstBadLine_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<int>>("expected");
        const QList<int> some{1, 0, 2};
        QTest::newRow("as written") << QByteArray(" 1 \r\n 0 \r\n 2 \r\n") << some;
        QTest::newRow("plain, LF") << QByteArray("1\n0\n2\n") << some;
        QTest::newRow("CR, tabs, last unended") << QByteArray("\t1 \r 0\r\n2") << some;
        QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF 1 \r\n 0 \r\n 2 \r\n") << some;
        QTest::newRow("20 lines") << settingsBytes(QList<int>(20, 1)) << QList<int>(18, 1);
        QTest::newRow("10 lines") << settingsBytes(QList<int>(10, 2)) << QList<int>(10, 2);
        QTest::newRow("letter") << QByteArray(" 1 \r\n 2 \r\n x \r\n 1 \r\n") << QList<int>{1, 2};
        QTest::newRow("3") << QByteArray(" 1 \r\n 3 \r\n 1 \r\n") << QList<int>{1};
        QTest::newRow("empty line") << QByteArray("1\r\n\r\n1\r\n") << QList<int>{1};
        QTest::newRow("sign, two numbers") << QByteArray("+1\r\n1 1\r\n") << QList<int>{};
        QTest::newRow("garbage") << QByteArray("\xff\xfe\x00\x01", 4) << QList<int>{};
    }

    void settings_writesNinetyBytes_readsUpToTheFirstBadLine()
    {
        QFETCH(QByteArray, bytes);
        QTEST(SettingsFile::fromBytes(bytes), "expected");
    }

    void favorites_readEveryLineEndAndCodePage_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Items>("expected");
        const Items two{{u"abc"_s, u"xyz"_s}, {u""_s, u""_s}};
        QTest::newRow("the 14-byte example") << QByteArray("abc\r\nxyz\r\n\r\n\r\n") << two;
        QTest::newRow("LF only") << QByteArray("abc\nxyz\n\n\n") << two;
        QTest::newRow("CR only") << QByteArray("abc\rxyz\r\r\r") << two;
        QTest::newRow("no final line end") << QByteArray("abc\r\nxyz") << Items{two[0]};
        QTest::newRow("ends after a title")
            << QByteArray("abc\r\nxyz\r\nT\r\n") << Items{two[0], {u"T"_s, u""_s}};
        QTest::newRow("Windows-1252 line")
            << QByteArray("Caf\xe9 \x80\r\nhttp://a/\r\n") << Items{{u"Café €"_s, u"http://a/"_s}};
        QTest::newRow("UTF-8, byte-order mark") << QByteArray("\xEF\xBB\xBF"
                                                              "Caf\xC3\xA9\r\nu\r\n")
                                                << Items{{u"Café"_s, u"u"_s}};
        QTest::newRow("empty file") << QByteArray() << Items{};
    }

    void favorites_readEveryLineEndAndCodePage()
    {
        QFETCH(QByteArray, bytes);
        QTEST(FavoritesFile::fromBytes(bytes, 2), "expected");
    }

    void favorites_writeEveryValueOnOneLineOfItsOwn()
    {
        // A line's own leading U+FEFF is kept, in the first line too (found by the fuzzer).
        const Items marks{{u"\uFEFFfirst"_s, u"\uFEFF\uFEFF"_s}, {u"\uFEFF"_s, u"x"_s}};
        QCOMPARE(FavoritesFile::fromBytes(FavoritesFile::toBytes(marks, 2), 2), marks);
        const Items broken{{u"two\r\nlines\nhere"_s, u"a\rb"_s}};
        QCOMPARE(FavoritesFile::toBytes(broken, 2), QByteArray("two lines here\r\na b\r\n"));
        // Every item is one line per column of the list, whatever it holds.
        QCOMPARE(FavoritesFile::toBytes({{u"t"_s}}, 3), QByteArray("t\r\n\r\n\r\n"));
    }

    void read_limitsWhatItReadsNotWhatTheFileClaims()
    {
        // A file that says it is empty and then grows as it is read, as files of /proc do.
        QCOMPARE(QFileInfo(u"/proc/self/status"_s).size(), 0);
        QCOMPARE(DataFile::read(u"/proc/self/status"_s, 16), std::nullopt);
        QVERIFY(DataFile::read(u"/proc/self/status"_s, 1 << 20).value_or("").startsWith("Name:"));
        // No file is a first run, not a failure.
        QCOMPARE(DataFile::read(u"/nonexistent/file.dtt"_s, 16), QByteArray());
    }

    // Each file is read up to the size the README gives, and a larger one counts as one that
    // cannot be read (so it is never replaced): the first part of each file below is what the
    // test can see taken, the rest is a comment or one long value.
    void files_areReadUpToTheirSizeAndNoFurther()
    {
        constexpr qint64 KiB = 1024, MiB = 1024 * KiB;
        const QTemporaryDir folder;
        const QString path = folder.filePath(u"reelhop.ini"_s);
        const auto saysNothing = [](auto &loader) {
            QSignalSpy said(&loader, &std::remove_reference_t<decltype(loader)>::statusMessage);
            loader.load();
            return said.isEmpty();
        };
        const std::initializer_list<
            std::tuple<const char *, qint64, QByteArray, std::function<bool()>>>
            files{
                {"svng.msf", 64 * KiB, "1\r\n",
                 [&] { return !SettingsFile::load(path).isEmpty(); }},
                {"reelhop.ini", 64 * KiB, "[memory saver]\nenabled=false\n;",
                 [&] { return !MemorySaver::configured(folder.path()); }},
                {"sites.ini", 256 * KiB, ";", [&] { return SitesFile::load(path).has_value(); }},
                {"groups.ini", 256 * KiB, ";", [&] { return SiteGroups::load(path).has_value(); }},
                {"blocking.ini", 256 * KiB, ";",
                 [&] { return BlockingSettings::load(path).has_value(); }},
                {"zoom.ini", MiB, ";",
                 [&] {
                     ZoomLevels zoom(path);
                     return saysNothing(zoom);
                 }},
                {"searches.txt", MiB, "",
                 [&] {
                     QLineEdit box;
                     SearchHistory history(path, &box);
                     return saysNothing(history);
                 }},
                {"file.dtt", 64 * MiB, "",
                 [&] { return FavoritesFile::load(path, 2).has_value(); }},
                {"a filter list", 64 * MiB, "!", [&] {
                     return FilterLists::load({{u"list"_s, path}})
                         .reports.value(0)
                         .failure.isEmpty();
                 }}};
        for (const auto &[file, size, start, read] : files) {
            for (const qint64 bytes : {size, size + 1}) {
                QVERIFY(DataFile::write(path, start + QByteArray(bytes - start.size(), 'x')));
                QVERIFY2(read() == (bytes == size), file);
            }
        }
    }
};

QTEST_MAIN(TestDataFiles)
#include "tst_data_files.moc"
