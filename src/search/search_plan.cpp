#include "search_plan.h"

#include "search_template.h"

#include <QCoreApplication>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// The site that "!keyword" at the start of the text names, and the text after it; nullopt
// and an empty keyword when the text names none.
struct Named
{
    std::optional<int> site;
    QString keyword;
    QString text;
};

Named namedSite(const SiteCatalogue::Lineup &lineup, const QString &typed)
{
    const QString text = typed.trimmed();
    if (!text.startsWith(u'!'))
        return {};
    const qsizetype space = text.indexOf(QRegularExpression(u"\\s"_s));
    const QString keyword = text.mid(1, space < 0 ? -1 : space - 1);
    const QString rest = space < 0 ? QString() : text.mid(space).trimmed();
    for (int site = 0; site < SiteCatalogue::SiteCount && !keyword.isEmpty(); ++site) {
        if (lineup[site].keyword.compare(keyword, Qt::CaseInsensitive) == 0)
            return {site, keyword, rest};
    }
    return {std::nullopt, keyword, {}};
}

} // namespace

SearchPlan SearchPlan::make(const SiteCatalogue::Lineup &lineup, const QList<int> &inOptions,
                            const QString &typed)
{
    SearchPlan plan;
    const Named named = namedSite(lineup, typed);
    plan.chosen = named.site ? QList<int>{*named.site} : inOptions;
    const QString text = named.site ? named.text : typed;
    QStringList notSent;
    for (const int site : plan.chosen) {
        if (SearchTemplate::isPathStep(lineup[site].searchTemplate, text)) {
            notSent.append(lineup[site].tabCaption);
            continue;
        }
        plan.addresses.insert(site, SearchTemplate::expand(lineup[site].searchTemplate, text));
        plan.searched.append(site);
    }
    QStringList notices;
    if (!named.site && !named.keyword.isEmpty())
        notices << QCoreApplication::translate("SearchPlan",
                                               "No site has the keyword \u201c%1\u201d: the "
                                               "text was searched as typed.")
                       .arg(named.keyword);
    if (plan.chosen.isEmpty())
        notices << noSiteNotice();
    else if (!notSent.isEmpty())
        notices << QCoreApplication::translate("SearchPlan",
                                               "\u201c%1\u201d was not searched on %2: its "
                                               "search address would read it as a step up in "
                                               "the address.")
                       .arg(text, notSent.join(u", "_s));
    plan.notice = notices.join(u' ');
    return plan;
}

QString SearchPlan::noSiteNotice()
{
    return QCoreApplication::translate(
        "SearchPlan", "No site is chosen to search: choose them under Options, Options, on the "
                      "Search tab.");
}
