#include "sites_file.h"

#include "files/data_file.h"
#include "search_template.h"

#include <QDir>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace SitesFile {

namespace {

// A few dozen short lines; anything far larger is not a sites file.
constexpr qint64 MaxFileBytes = 256 * 1024;

const QString NameKey = u"name"_s;
const QString StartKey = u"start"_s;
const QString SearchKey = u"search"_s;
const QString KeywordKey = u"keyword"_s;

} // namespace

QString groupOf(int site)
{
    return u"site%1"_s.arg(site + 1);
}

QString path(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("sites.ini"));
}

Contents fromText(const IniText &text)
{
    Contents contents;
    contents.text = text;
    contents.userAgent = text.value(u"engine", u"agent").value_or(QString());
    for (int site = 0; site < SiteCatalogue::SiteCount; ++site) {
        const QString group = groupOf(site);
        const Site &builtIn = SiteCatalogue::builtInLineup()[site];
        const std::optional<QString> name = text.value(group, NameKey);
        const QString start = text.value(group, StartKey).value_or(builtIn.startPage);
        const QString search = text.value(group, SearchKey).value_or(builtIn.searchTemplate);
        // A slot with an entry that cannot be used keeps its built-in site whole: half of one
        // site and half of another would search where the user did not ask.
        const bool usable =
            (!name || !name->isEmpty()) &&
            std::max({name.value_or(QString()).size(), start.size(), search.size()}) <=
                LongestValue &&
            (start == builtIn.startPage || SearchTemplate::addressProblem(start).isEmpty()) &&
            (search == builtIn.searchTemplate || SearchTemplate::templateProblem(search).isEmpty());
        if (!usable) {
            contents.unusableEntries.append(group);
            continue;
        }
        Site &slot = contents.lineup[site];
        if (name)
            slot.tabCaption = slot.optionLabel = *name;
        slot.startPage = start;
        slot.searchTemplate = search;
        slot.closed =
            builtIn.closed && start == builtIn.startPage && search == builtIn.searchTemplate;
        slot.keyword = text.value(group, KeywordKey)
                           .value_or(SiteCatalogue::defaultKeyword(site, search))
                           .trimmed();
    }
    // A keyword names one site: the first that has it, and no keyword that cannot be typed.
    QStringList taken;
    for (Site &slot : contents.lineup) {
        if (!SiteCatalogue::keywordProblem(slot.keyword).isEmpty() ||
            taken.contains(slot.keyword, Qt::CaseInsensitive))
            slot.keyword.clear();
        else if (!slot.keyword.isEmpty())
            taken.append(slot.keyword);
    }
    return contents;
}

std::optional<Contents> load(const QString &filePath)
{
    const std::optional<QByteArray> bytes = DataFile::read(filePath, MaxFileBytes);
    if (!bytes)
        return std::nullopt;
    return fromText(IniText::fromBytes(*bytes));
}

IniText withLineup(IniText text, const SiteCatalogue::Lineup &lineup)
{
    const SiteCatalogue::Lineup before = fromText(text).lineup;
    for (int site = 0; site < SiteCatalogue::SiteCount; ++site) {
        const QString group = groupOf(site);
        const Site &slot = lineup[site];
        if (slot.searchTemplate != before[site].searchTemplate) {
            for (const QStringView key : RuleKeys)
                text.remove(group, key);
        }
        const Site &builtIn = SiteCatalogue::builtInLineup()[site];
        Site withOwnKeyword = slot;
        withOwnKeyword.keyword = builtIn.keyword;
        if (withOwnKeyword == builtIn) {
            for (const QString &key : {NameKey, StartKey, SearchKey})
                text.remove(group, key);
        } else {
            // A slot named as built in keeps the built-in site's two texts, caption and label.
            if (slot.tabCaption == builtIn.tabCaption && slot.optionLabel == builtIn.optionLabel)
                text.remove(group, NameKey);
            else
                text.setValue(group, NameKey, slot.tabCaption);
            text.setValue(group, StartKey, slot.startPage);
            text.setValue(group, SearchKey, slot.searchTemplate);
        }
        // A keyword as the slot's site has it by default is not written, so that it follows
        // the site; one the user changed, or took away, is.
        if (slot.keyword == SiteCatalogue::defaultKeyword(site, slot.searchTemplate))
            text.remove(group, KeywordKey);
        else
            text.setValue(group, KeywordKey, slot.keyword);
        text.removeIfEmpty(group);
    }
    return text;
}

bool save(const QString &filePath, const IniText &text)
{
    return DataFile::write(filePath, text.toBytes());
}

} // namespace SitesFile
