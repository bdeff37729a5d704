#ifndef REELHOP_RESULTS_RESULT_LIST_H
#define REELHOP_RESULTS_RESULT_LIST_H

#include "page_reading.h"

#include <QList>

// One video in the merged list, with every site that showed it; it opens on the first.
struct ListedVideo
{
    VideoResult video;
    QList<int> sites;
    // Where its first site showed it, counted from 0.
    int place = 0;
};

namespace ResultList {

// The sites' results in turns: each site's first in the order given, then each one's second,
// and so on. A video several sites show (the same title and length, case, spaces and
// punctuation aside; the same address for a title without letters or digits) is listed once,
// where it came first.
QList<ListedVideo> merge(const QList<std::pair<int, QList<VideoResult>>> &resultsBySite);

enum class Order { InTurns, ShortestFirst, LongestFirst };

struct Filter
{
    // -1: any. A video whose length the page did not show passes only when both are any.
    int shortestSeconds = -1;
    int longestSeconds = -1;
    // -1: every site's.
    int site = -1;
};

// The places in the merged list to show, in the order to show them.
QList<int> arrange(const QList<ListedVideo> &videos, Order order, const Filter &filter);

} // namespace ResultList

#endif
