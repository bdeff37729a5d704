#ifndef REELHOP_BLOCKING_WHY_BLOCKED_H
#define REELHOP_BLOCKING_WHY_BLOCKED_H

#include "filter_lists.h"

// `reelhop --why-blocked ADDRESS [--page PAGE] [--type TYPE] [--list FILE]...`: one line that
// says which rule decides the request, for users asking why a page broke and packagers
// checking lists.
namespace WhyBlocked {

struct Answer
{
    // "blocked by RULE (LIST)", "allowed by RULE (LIST)" or "no rule"; else what was wrong.
    QString text;
    bool ok = true;
};

// Without a page the request counts as coming from another site.
Answer ask(const QList<FilterLists::ListFile> &lists, const QString &address, const QString &page,
           const QString &type);

} // namespace WhyBlocked

#endif
