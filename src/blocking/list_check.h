#ifndef REELHOP_BLOCKING_LIST_CHECK_H
#define REELHOP_BLOCKING_LIST_CHECK_H

#include <QByteArrayView>
#include <QString>
#include <chrono>

// What a list says of itself, and whether a fetched copy is a filter list at all.
namespace ListCheck {

// How long a copy stays fresh: its "! Expires: 6 days" (or hours), 5 days when it gives none,
// never less than an hour or more than 30 days.
std::chrono::seconds freshFor(QByteArrayView list);

// Why the bytes fetched cannot replace a copy of `rulesBefore` rules (those skipped counted too),
// or nothing when they can: a filter list starts as one ("[Adblock" or "!"), holds no NUL, is at
// most 64 MiB and reads to at least half as many rules.
QString refusal(QByteArrayView fetched, int rulesBefore);

} // namespace ListCheck

#endif
