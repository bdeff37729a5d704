#include "site_groups.h"

#include "files/data_file.h"
#include "files/ini_text.h"
#include "sites_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace SiteGroups {

namespace {

// A few hundred groups of short lines; anything far larger is not a groups file.
constexpr qint64 MaxFileBytes = 256 * 1024;

const QString SearchGroup = u"search"_s;
const QString InUseKey = u"group"_s;
const QString NameKey = u"name"_s;

QString siteKey(int tab)
{
    return u"site%1"_s.arg(tab + 1);
}

QString withoutBlanks(QString name)
{
    return name.remove(QRegularExpression(u"\\s"_s));
}

} // namespace

QString path(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("groups.ini"));
}

Contents fromBytes(const QByteArray &bytes)
{
    const IniText text = IniText::fromBytes(bytes);
    Contents contents;
    static const QRegularExpression section(u"^group\\d+$"_s,
                                            QRegularExpression::CaseInsensitiveOption);
    for (const QString &group : text.groups()) {
        const QString name = text.value(group, NameKey).value_or(QString());
        // A group without a usable name, or with one an earlier group has, is no group.
        if (!section.match(group).hasMatch() || !nameProblem(name, contents.groups).isEmpty())
            continue;
        SiteGroup read{name, {}};
        for (int tab = 0; tab < SiteCatalogue::SiteCount; ++tab) {
            const std::optional<QString> site = text.value(group, siteKey(tab));
            if (site && !site->isEmpty())
                read.members.append({tab, site->left(SitesFile::LongestValue)});
        }
        contents.groups.append(read);
    }
    const QString inUse = text.value(SearchGroup, InUseKey).value_or(QString());
    if (named(contents.groups, withoutBlanks(inUse)))
        contents.inUse = named(contents.groups, withoutBlanks(inUse))->name;
    return contents;
}

QByteArray toBytes(const Contents &contents)
{
    IniText text;
    if (!contents.inUse.isEmpty())
        text.setValue(SearchGroup, InUseKey, contents.inUse);
    for (qsizetype index = 0; index < contents.groups.size(); ++index) {
        const SiteGroup &group = contents.groups[index];
        const QString section = u"group%1"_s.arg(index + 1);
        text.setValue(section, NameKey, group.name);
        for (const SiteGroup::Member &member : group.members)
            text.setValue(section, siteKey(member.tab), member.name);
    }
    return text.toBytes();
}

std::optional<Contents> load(const QString &filePath)
{
    const std::optional<QByteArray> bytes = DataFile::read(filePath, MaxFileBytes);
    if (!bytes)
        return std::nullopt;
    return fromBytes(*bytes);
}

bool save(const QString &filePath, const Contents &contents)
{
    return DataFile::write(filePath, toBytes(contents));
}

std::optional<int> tabOf(const SiteGroup::Member &member, const SiteCatalogue::Lineup &lineup)
{
    if (member.tab >= 0 && member.tab < SiteCatalogue::SiteCount &&
        lineup[member.tab].tabCaption == member.name)
        return member.tab;
    for (int tab = 0; tab < SiteCatalogue::SiteCount; ++tab) {
        if (lineup[tab].tabCaption == member.name)
            return tab;
    }
    return std::nullopt;
}

Found find(const SiteGroup &group, const SiteCatalogue::Lineup &lineup)
{
    Found found;
    for (const SiteGroup::Member &member : group.members) {
        const std::optional<int> tab = tabOf(member, lineup);
        if (!tab)
            found.missing.append(member.name);
        else if (!found.tabs.contains(*tab))
            found.tabs.append(*tab);
    }
    std::sort(found.tabs.begin(), found.tabs.end());
    return found;
}

const SiteGroup *inUse(const Contents &contents)
{
    const auto group = std::ranges::find(contents.groups, contents.inUse, &SiteGroup::name);
    return contents.inUse.isEmpty() || group == contents.groups.end() ? nullptr : &*group;
}

const SiteGroup *named(const QList<SiteGroup> &groups, QStringView word)
{
    for (const SiteGroup &group : groups) {
        if (!word.isEmpty() && withoutBlanks(group.name).compare(word, Qt::CaseInsensitive) == 0)
            return &group;
    }
    return nullptr;
}

QString nameProblem(const QString &name, const QList<SiteGroup> &others)
{
    if (name.trimmed().isEmpty())
        return QCoreApplication::translate("SiteGroups", "Enter a name.");
    if (name != name.trimmed() || name.size() > LongestName)
        return QCoreApplication::translate("SiteGroups",
                                           "At most %1 characters, without blanks around them.")
            .arg(LongestName);
    // "@name" would not tell them apart.
    if (named(others, withoutBlanks(name)))
        return QCoreApplication::translate("SiteGroups", "Another group has this name.");
    return {};
}

} // namespace SiteGroups
