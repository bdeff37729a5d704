#include "search_plan.h"

#include "search_template.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

SearchPlan SearchPlan::make(const SiteCatalogue::Lineup &lineup, const QList<int> &chosen,
                            const QString &text)
{
    SearchPlan plan;
    QStringList notSent;
    for (const int site : chosen) {
        if (SearchTemplate::isPathStep(lineup[site].searchTemplate, text)) {
            notSent.append(lineup[site].tabCaption);
            continue;
        }
        plan.addresses.insert(site, SearchTemplate::expand(lineup[site].searchTemplate, text));
        plan.searched.append(site);
    }
    if (chosen.isEmpty())
        plan.notice = noSiteNotice();
    else if (!notSent.isEmpty())
        plan.notice = QCoreApplication::translate("SearchPlan",
                                                  "\u201c%1\u201d was not searched on %2: its "
                                                  "search address would read it as a step up in "
                                                  "the address.")
                          .arg(text, notSent.join(u", "_s));
    return plan;
}

QString SearchPlan::noSiteNotice()
{
    return QCoreApplication::translate(
        "SearchPlan", "No site is chosen to search: choose them under Options, Options, on the "
                      "Search tab.");
}
