#ifndef REELHOP_SEARCH_SEARCH_PLAN_H
#define REELHOP_SEARCH_SEARCH_PLAN_H

#include "site_catalogue.h"

#include <QHash>
#include <QUrl>

// Where one search text goes: each chosen site's address, and what the status bar says of the
// search. A site whose search address would read the text as a step in its path gets none.
struct SearchPlan
{
    QHash<int, QUrl> addresses;
    // The chosen sites that get an address, in the order chosen.
    QList<int> searched;
    // Empty when every chosen site is searched.
    QString notice;

    static SearchPlan make(const SiteCatalogue::Lineup &lineup, const QList<int> &chosen,
                           const QString &text);
    // What is said when no site is chosen; withdrawn by a search that reaches one.
    static QString noSiteNotice();
};

#endif
