#ifndef REELHOP_SEARCH_SEARCH_PLAN_H
#define REELHOP_SEARCH_SEARCH_PLAN_H

#include "site_catalogue.h"
#include "site_groups.h"

#include <QHash>
#include <QUrl>

// Where one typed search goes: each chosen site's address, and what the status bar says of the
// search. "!keyword text" chooses the site of that keyword alone, "@group text" the sites of
// that group, for the text after it; else the group in use, else the options' Search boxes. A
// site whose search address would read the text as a step in its path gets none.
struct SearchPlan
{
    // The sites searched for: their tabs come on, the others go off.
    QList<int> chosen;
    QHash<int, QUrl> addresses;
    // The chosen sites that get an address, in the order chosen.
    QList<int> searched;
    // Empty when every chosen site is searched as asked.
    QString notice;

    static SearchPlan make(const SiteCatalogue::Lineup &lineup, const QList<int> &inOptions,
                           const QString &typed, const SiteGroups::Contents &groups = {});
    // What is said when no site is chosen; withdrawn by a search that reaches one.
    static QString noSiteNotice();
};

#endif
