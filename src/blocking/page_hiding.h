#ifndef REELHOP_BLOCKING_PAGE_HIDING_H
#define REELHOP_BLOCKING_PAGE_HIDING_H

#include <QByteArray>
#include <QStringList>
#include <functional>

// What element-hiding rules hide on one page.
struct PageHiding
{
    // The rules for the page whatever it holds.
    QByteArray styleSheet;
    // The style sheet of the rules for the ids and classes the page turns out to hold ("#ad-top",
    // ".banner"); none where there are no such rules or they are off.
    std::function<QByteArray(const QStringList &keys)> byName;

    bool isEmpty() const { return styleSheet.isEmpty() && !byName; }
};

#endif
