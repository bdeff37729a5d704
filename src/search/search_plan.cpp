#include "search_plan.h"

#include "search_template.h"

#include <QCoreApplication>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

QString say(const char *text)
{
    return QCoreApplication::translate("SearchPlan", text);
}

// "!word rest" or "@word rest" at the start of the text: the word and the rest; an empty word
// when the text starts with neither.
std::pair<QString, QString> markedWord(const QString &typed, QChar mark)
{
    const QString text = typed.trimmed();
    if (!text.startsWith(mark))
        return {};
    const qsizetype space = text.indexOf(QRegularExpression(u"\\s"_s));
    return {text.mid(1, space < 0 ? -1 : space - 1),
            space < 0 ? QString() : text.mid(space).trimmed()};
}

std::optional<int> siteOfKeyword(const SiteCatalogue::Lineup &lineup, const QString &keyword)
{
    for (int site = 0; site < SiteCatalogue::SiteCount && !keyword.isEmpty(); ++site) {
        if (lineup[site].keyword.compare(keyword, Qt::CaseInsensitive) == 0)
            return site;
    }
    return std::nullopt;
}

} // namespace

SearchPlan SearchPlan::make(const SiteCatalogue::Lineup &lineup, const QList<int> &inOptions,
                            const QString &typed, const SiteGroups::Contents &groups)
{
    SearchPlan plan;
    QStringList notices;
    QString text = typed;
    const auto [keyword, afterKeyword] = markedWord(typed, u'!');
    const auto [groupWord, afterGroup] = markedWord(typed, u'@');
    const SiteGroup *group = SiteGroups::named(groups.groups, groupWord);
    if (const std::optional<int> site = siteOfKeyword(lineup, keyword)) {
        plan.chosen = {*site};
        text = afterKeyword;
    } else {
        if (!keyword.isEmpty())
            notices << say("No site has the keyword \u201c%1\u201d: the text was searched as "
                           "typed.")
                           .arg(keyword);
        if (group)
            text = afterGroup;
        else if (!groupWord.isEmpty())
            notices << say("No group is named \u201c%1\u201d: the text was searched as typed.")
                           .arg(groupWord);
        group = group ? group : SiteGroups::inUse(groups);
        if (group) {
            const SiteGroups::Found found = SiteGroups::find(*group, lineup);
            plan.chosen = found.tabs;
            if (!found.missing.isEmpty())
                notices << say("%1 of the group \u201c%2\u201d is on no tab now.")
                               .arg(found.missing.join(u", "_s), group->name);
        } else {
            plan.chosen = inOptions;
        }
    }
    QStringList notSent;
    for (const int site : plan.chosen) {
        if (SearchTemplate::isPathStep(lineup[site].searchTemplate, text)) {
            notSent.append(lineup[site].tabCaption);
            continue;
        }
        plan.addresses.insert(site, SearchTemplate::expand(lineup[site].searchTemplate, text));
        plan.searched.append(site);
    }
    if (plan.chosen.isEmpty())
        notices << (group ? say("The group \u201c%1\u201d has no site on a tab.").arg(group->name)
                          : noSiteNotice());
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
