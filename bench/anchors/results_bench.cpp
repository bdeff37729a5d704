// The Results tab's share of the window's thread and memory, with nine sites of 30 results:
// taking one site's reading (the engine's answer checked, every site merged, the list filled),
// sorting or filtering, scrolling the list through, and the memory the list with its thumbnails
// adds. Prints "name value" lines.
#include "results/page_reading.h"
#include "results/result_list.h"
#include "results/results_model.h"
#include "results/thumbnails.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QListView>
#include <QListWidget>
#include <QScrollBar>
#include <algorithm>
#include <cstdio>
#include <malloc.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int Sites = 9;
constexpr int PerSite = 30;

size_t heapBytes()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// A thumbnail as small sites send them inline: a 160x90 JPEG.
QString inlineThumbnail(int seed)
{
    QImage image(160, 90, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(seed * 7 % 360, 160, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 60);
    return u"data:image/jpeg;base64,"_s + QString::fromLatin1(bytes.toBase64());
}

// One site's answer, as the engine hands the reader's object over.
QVariant answer(int site)
{
    QVariantList results;
    for (int n = 0; n < PerSite; ++n) {
        // A third of each site's videos are shown by other sites too.
        const int video = n % 3 == 0 ? n : site * 100 + n;
        results.append(QVariantMap{
            {u"title"_s, u"A video about something, part %1"_s.arg(video)},
            {u"link"_s, u"https://site%1.example/watch?v=%2"_s.arg(site).arg(video)},
            {u"image"_s, inlineThumbnail(video)},
            {u"length"_s, u"%1:%2"_s.arg(video % 40).arg(video % 60, 2, 10, QChar(u'0'))},
            {u"author"_s, u"Channel %1"_s.arg(video % 17)},
            {u"meta"_s, u"%1K views · %2 days ago"_s.arg(video * 13 % 900).arg(video % 30)}});
    }
    return QVariantMap{{u"how"_s, u"rule"_s}, {u"results"_s, results}, {u"changes"_s, 40}};
}

double median(QList<double> values)
{
    std::ranges::sort(values);
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QList<QVariant> answers;
    for (int site = 0; site < Sites; ++site)
        answers.append(answer(site));

    const size_t before = heapBytes();
    Thumbnails thumbnails;
    ResultsModel model(&thumbnails);
    QListView list;
    list.setModel(&model);
    list.setItemDelegate(new ResultDelegate(&list));
    list.setUniformItemSizes(true);
    list.resize(1000, 700);
    list.show();
    QApplication::processEvents();
    QStringList names;
    for (int site = 0; site < Sites; ++site)
        names.append(u"Site %1"_s.arg(site));

    // Each site's reading as it comes: checked, merged with the others, shown, painted.
    QList<std::pair<int, QList<VideoResult>>> bySite;
    QList<double> takeMs;
    QList<ListedVideo> merged;
    for (int site = 0; site < Sites; ++site) {
        QElapsedTimer timer;
        timer.start();
        bySite.append({site, PageReadings::fromAnswer(answers[site]).results});
        merged = ResultList::merge(bySite);
        model.show(merged, ResultList::arrange(merged, ResultList::Order::InTurns, {}), names);
        list.doItemsLayout();
        list.viewport()->grab();
        takeMs.append(timer.nsecsElapsed() / 1e6);
    }

    QList<double> arrangeMs;
    for (int round = 0; round < 20; ++round) {
        const ResultList::Order order = ResultList::Order(round % 3);
        const ResultList::Filter filter{round % 2 ? 240 : -1, round % 4 ? 1200 : -1,
                                        round % 5 ? -1 : round % Sites};
        QElapsedTimer timer;
        timer.start();
        model.show(merged, ResultList::arrange(merged, order, filter), names);
        list.doItemsLayout();
        list.viewport()->grab();
        arrangeMs.append(timer.nsecsElapsed() / 1e6);
    }

    // A page down at a time through the whole list, every thumbnail drawn.
    model.show(merged, ResultList::arrange(merged, ResultList::Order::InTurns, {}), names);
    list.doItemsLayout();
    QList<double> scrollMs;
    QScrollBar *bar = list.verticalScrollBar();
    for (int value = 0; value <= bar->maximum(); value += bar->pageStep()) {
        QElapsedTimer timer;
        timer.start();
        bar->setValue(value);
        list.doItemsLayout();
        list.viewport()->grab();
        scrollMs.append(timer.nsecsElapsed() / 1e6);
    }
    const double addedMib = double(heapBytes() - before) / (1024 * 1024);

    // The anchor: Qt's plain list widget filled with the same titles and pictures, painted.
    QElapsedTimer anchorTimer;
    anchorTimer.start();
    QListWidget plain;
    plain.setIconSize(Thumbnails::Size);
    for (const ListedVideo &listed : merged) {
        const QString &thumbnail = listed.video.thumbnail;
        const QByteArray bytes =
            QByteArray::fromBase64(thumbnail.mid(thumbnail.indexOf(u',') + 1).toLatin1());
        plain.addItem(new QListWidgetItem(QIcon(QPixmap::fromImage(QImage::fromData(bytes))),
                                          listed.video.title));
    }
    plain.resize(1000, 700);
    plain.show();
    plain.doItemsLayout();
    plain.viewport()->grab();
    const double anchorMs = anchorTimer.nsecsElapsed() / 1e6;

    std::printf("results %lld\n", static_cast<long long>(merged.size()));
    std::printf("take_reading_ms %.3f\n", *std::ranges::max_element(takeMs));
    std::printf("arrange_ms %.3f\n", median(arrangeMs));
    std::printf("arrange_max_ms %.3f\n", *std::ranges::max_element(arrangeMs));
    std::printf("scroll_page_ms %.3f\n", median(scrollMs));
    std::printf("scroll_page_max_ms %.3f\n", *std::ranges::max_element(scrollMs));
    std::printf("added_mib %.1f\n", addedMib);
    std::printf("anchor_fill_ms %.3f\n", anchorMs);
    return 0;
}
