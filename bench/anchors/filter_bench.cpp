// The blocker's matcher on the lists Debian installs: how long the lists take to be ready, how
// long one request takes to decide over 100,000 made-up but realistic requests, the memory the
// rules take, and the slowest of three long addresses (100 KB, 2 MB), address parsing included,
// with each kind's fastest of five tries and Qt's own time to write such an address out.
// With --package=FOLDER first, the package's functions for in-page rules are read first (and
// timed) and the lists' in-page rules kept as the program keeps them.
// Usage: filter_bench [--package=FOLDER] LIST...
#include "blocking/filter_set.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>
#include <limits>
#include <malloc.h>

using namespace Blocking;

namespace {

size_t heapBytes()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Hosts the lists name ("||host^") and hosts of ordinary sites, with the paths, queries and
// request types that results pages ask for.
QList<std::pair<QUrl, RequestType>> requests(const QList<QByteArray> &listed, int count)
{
    const QList<QByteArray> ordinary{"www.youtube.com",
                                     "i.ytimg.com",
                                     "fonts.gstatic.com",
                                     "www.google.com",
                                     "video.search.yahoo.com",
                                     "s.yimg.com",
                                     "www.dailymotion.com",
                                     "static1.dmcdn.net",
                                     "vimeo.com",
                                     "i.vimeocdn.com",
                                     "archive.org",
                                     "cdn.jsdelivr.net"};
    const QList<QByteArray> paths{"/",
                                  "/results",
                                  "/watch",
                                  "/vi/abc123/hqdefault.jpg",
                                  "/s/player/base.js",
                                  "/api/stats/qoe",
                                  "/pagead/js/ads.js",
                                  "/css/main.css",
                                  "/v1/events",
                                  "/img/thumb_320x180.webp",
                                  "/gtag/js",
                                  "/beacon",
                                  "/fonts/roboto.woff2"};
    const QList<QByteArray> queries{"",
                                    "?q=jazz",
                                    "?id=GTM-123&l=dataLayer",
                                    "?v=dQw4w9WgXcQ&t=42s",
                                    "?cb=1699999999&ord=7",
                                    "?search_query=rock+%26+roll"};
    QRandomGenerator random(42);
    QList<std::pair<QUrl, RequestType>> made;
    for (int index = 0; index < count; ++index) {
        const bool fromList = random.bounded(3) == 0 && !listed.isEmpty();
        const QByteArray host = fromList ? listed[random.bounded(int(listed.size()))]
                                         : ordinary[random.bounded(int(ordinary.size()))];
        const QByteArray address = "https://" + host + paths[random.bounded(int(paths.size()))] +
                                   queries[random.bounded(int(queries.size()))];
        made.append({QUrl::fromEncoded(address), RequestType(1 << random.bounded(12))});
    }
    return made;
}

// Addresses a hostile page may ask for, each about `size` bytes: one token repeated, the lists'
// own tokens one after another, and tokens no rule names.
QList<std::pair<QByteArray, QUrl>> longAddresses(const QList<QByteArray> &listed, qsizetype size)
{
    QByteArray repeated = "https://example.com/img?";
    while (repeated.size() < size)
        repeated += "ad_";
    QByteArray ruleTokens = "https://example.com/p?";
    for (qsizetype index = 0; ruleTokens.size() < size; ++index)
        ruleTokens += QByteArray(listed[index % listed.size()]).replace('.', '/') + '_';
    QByteArray unknown = "https://example.com/u?";
    QRandomGenerator random(7);
    while (unknown.size() < size)
        unknown += QByteArray::number(random.generate64(), 36) + '/';
    return {{"repeated", QUrl::fromEncoded(repeated)},
            {"rule_tokens", QUrl::fromEncoded(ruleTokens)},
            {"unknown_tokens", QUrl::fromEncoded(unknown)}};
}

} // namespace

int main(int argc, char *argv[])
{
    QList<QByteArray> texts;
    QString package;
    int first = 1;
    if (argc > 1 && QByteArrayView(argv[1]).startsWith("--package=")) {
        package = QString::fromLocal8Bit(argv[1] + 10);
        first = 2;
    }
    for (int index = first; index < argc; ++index) {
        QFile file(QString::fromLocal8Bit(argv[index]));
        if (!file.open(QIODevice::ReadOnly))
            return std::fprintf(stderr, "filter_bench: cannot read %s\n", argv[index]), 1;
        texts.append(file.readAll());
    }
    const size_t heapBefore = heapBytes();
    QElapsedTimer clock;
    clock.start();
    FilterSet filters;
    double libraryMs = 0;
    if (!package.isEmpty()) {
        filters.useScriptlets(
            std::make_shared<const ScriptletLibrary>(ScriptletLibrary::read({package})));
        libraryMs = double(clock.nsecsElapsed()) / 1e6;
        if (filters.scriptlets()->isEmpty())
            return std::fprintf(stderr, "filter_bench: no functions in %s\n", argv[1]), 1;
    }
    qsizetype lines = 0;
    for (qsizetype index = 0; index < texts.size(); ++index) {
        filters.addList(QString::number(index), texts[index], !package.isEmpty());
        lines += texts[index].count('\n');
    }
    const double readyMs = double(clock.nsecsElapsed()) / 1e6;
    const double addedMiB = double(heapBytes() - heapBefore) / (1024 * 1024);

    QList<QByteArray> listed;
    for (const QByteArray &text : texts)
        for (const QByteArray &line : text.split('\n'))
            if (line.startsWith("||") && line.endsWith('^') && listed.size() < 5000)
                listed.append(line.mid(2, line.size() - 3));
    const QUrl page(QStringLiteral("https://www.youtube.com/results?search_query=jazz"));
    const auto made = requests(listed, 100000);
    std::vector<qint64> nanoseconds;
    nanoseconds.reserve(size_t(made.size()));
    int blocked = 0;
    for (const auto &[address, type] : made) {
        clock.start();
        blocked += filters.decide(Request::make(address, page, type)).blocked();
        nanoseconds.push_back(clock.nsecsElapsed());
    }
    std::sort(nanoseconds.begin(), nanoseconds.end());

    // The slowest of the long addresses, and the fastest of five tries of each kind beside it:
    // the machine's own noise aside. Qt's writing the whole address out (`toEncoded`) is timed
    // alone too, as what a matcher that asked Qt for it would spend before its first token.
    QList<QByteArray> kinds;
    const auto slowestMs = [&](qsizetype size) {
        double slowest = 0;
        double encoding = 0;
        for (const auto &[name, address] : longAddresses(listed, size)) {
            double fastest = std::numeric_limits<double>::max();
            for (int attempt = 0; attempt < 5; ++attempt) {
                clock.start();
                blocked +=
                    filters.decide(Request::make(address, page, RequestType::Image)).blocked();
                const double ms = double(clock.nsecsElapsed()) / 1e6;
                slowest = attempt == 0 ? std::max(slowest, ms) : slowest;
                fastest = std::min(fastest, ms);
            }
            clock.start();
            const QByteArray encoded = address.toEncoded();
            encoding = std::max(encoding, double(clock.nsecsElapsed()) / 1e6);
            kinds.append(QByteArray::number(size / 1000) + "k_" + name + "_fastest_ms " +
                         QByteArray::number(fastest, 'f', 2));
        }
        kinds.append(QByteArray::number(size / 1000) + "k_encoding_ms " +
                     QByteArray::number(encoding, 'f', 2));
        return slowest;
    };
    const double long100kMs = slowestMs(100 * 1000);
    const double long2mMs = slowestMs(2 * 1000 * 1000);
    for (const QByteArray &kind : kinds)
        std::printf("long_%s\n", kind.constData());
    std::printf("library_ms %.1f\n", libraryMs);
    std::printf("lines %lld\nready_ms %.1f\nadded_mib %.1f\nrequests %lld\nblocked %d\n"
                "median_us %.2f\np99_us %.2f\nlong_100k_ms %.2f\nlong_2m_ms %.2f\n",
                static_cast<long long>(lines), readyMs, addedMiB,
                static_cast<long long>(made.size()), blocked,
                double(nanoseconds[nanoseconds.size() / 2]) / 1000,
                double(nanoseconds[nanoseconds.size() * 99 / 100]) / 1000, long100kMs, long2mMs);
    return 0;
}
