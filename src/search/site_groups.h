#ifndef REELHOP_SEARCH_SITE_GROUPS_H
#define REELHOP_SEARCH_SITE_GROUPS_H

#include "site_catalogue.h"

#include <QList>
#include <QString>
#include <optional>

// A named choice of sites that one search searches, as the user keeps it: each site by the tab
// it was on and its name then, so that it is found again on another tab, and missed, not
// replaced, once no tab holds it.
struct SiteGroup
{
    struct Member
    {
        int tab = 0; // counted from 0
        QString name;
        friend bool operator==(const Member &, const Member &) = default;
    };

    QString name;
    QList<Member> members;

    friend bool operator==(const SiteGroup &, const SiteGroup &) = default;
};

// The groups file, groups.ini: a group a section ("[group1]") with its "name" and its sites as
// "site1" to "site9", the tab and the site's name; "[search]" "group" names the group the next
// search searches (none: the options' Search boxes).
namespace SiteGroups {

struct Contents
{
    QList<SiteGroup> groups;
    QString inUse;
    friend bool operator==(const Contents &, const Contents &) = default;
};

// Where a group's sites are now.
struct Found
{
    QList<int> tabs;     // in tab order
    QStringList missing; // the names of those no tab holds
};

inline constexpr int LongestName = 40;

QString path(const QString &folder);

Contents fromBytes(const QByteArray &bytes);
QByteArray toBytes(const Contents &contents);
// Nothing when the file exists but cannot be read; no groups when there is no file.
std::optional<Contents> load(const QString &filePath);
bool save(const QString &filePath, const Contents &contents);

// The member's site: on its own tab while that tab holds it, else on the first tab that does.
std::optional<int> tabOf(const SiteGroup::Member &member, const SiteCatalogue::Lineup &lineup);
Found find(const SiteGroup &group, const SiteCatalogue::Lineup &lineup);

// The group the next search searches; nothing for the options' Search boxes.
const SiteGroup *inUse(const Contents &contents);

// The group a word names: its name, blanks left out, in any case.
const SiteGroup *named(const QList<SiteGroup> &groups, QStringView word);

// Why a name cannot be a group's, in words; empty when it can.
QString nameProblem(const QString &name, const QList<SiteGroup> &others);

} // namespace SiteGroups

#endif
