#ifndef REELHOP_RESULTS_READING_RULE_H
#define REELHOP_RESULTS_READING_RULE_H

#include "files/ini_text.h"
#include "search/site_catalogue.h"

#include <QString>
#include <array>

// Where a site's search page shows its results, as CSS selectors: one result (item) and, inside
// it, its parts. An item or a link is needed; without an item, or with one that matches fewer
// results than the link does, each result is the block around one link. A part without a
// selector is found as on any results page.
struct ReadingRule
{
    QString item;
    QString title;
    QString link;
    QString image;
    QString length;
    QString author;
    QString meta;

    bool isEmpty() const { return item.isEmpty() && link.isEmpty(); }
    // In the order of the sites file's keys for them (SitesFile::RuleKeys).
    std::array<QString, 7> selectors() const
    {
        return {item, title, link, image, length, author, meta};
    }
    friend bool operator==(const ReadingRule &, const ReadingRule &) = default;
};

namespace ReadingRules {

// The program's own rule for a site, known by its search address's host; empty for a site it
// has none for, which is then read by the shape of its page.
ReadingRule builtIn(const QString &searchTemplate);

// Each slot's rule: the user's own when the slot's group in the sites file ("site4") has an
// item or a link key, else the built-in one for the slot's site.
std::array<ReadingRule, SiteCatalogue::SiteCount> forLineup(const IniText &sitesText,
                                                            const SiteCatalogue::Lineup &lineup);

// How far the reader may go for a page's results: the rule, then the page's data, then its shape;
// or its shape alone.
enum class Means { Any, ShapeOnly };

// The script that reads a page by the rule, in a world of the program's own. A page address,
// when given, is the one the page is read as coming from (a saved page shown at another).
QString readerScript(const ReadingRule &rule, Means means = Means::Any,
                     const QString &pageAddress = {});

// The script that tells, for a place pointed at in a page ({"x", "y", "clicked"}, in the page's
// units), the result around it; for a click, also the rule that reads it and every one like
// it, what that rule reads, and where. A function of the place, run in the program's own world.
QString pickerScript();

// The rule in a picker's answer; an empty one when it holds none, or a selector no person
// would write.
ReadingRule ruleOfAnswer(const QVariant &answer);

} // namespace ReadingRules

#endif
