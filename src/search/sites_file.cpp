#include "sites_file.h"

#include "files/data_file.h"
#include "search_template.h"

#include <QDir>

namespace SitesFile {

namespace {

// A few dozen short lines; anything far larger is not a sites file.
constexpr qint64 MaxFileBytes = 256 * 1024;

QString groupOf(int site)
{
    return u"site%1"_qs.arg(site + 1);
}

const QString NameKey = u"name"_qs;
const QString StartKey = u"start"_qs;
const QString SearchKey = u"search"_qs;

} // namespace

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
        Site &slot = contents.lineup[site];
        bool usable = true;
        if (const std::optional<QString> name = text.value(group, NameKey)) {
            usable = !name->isEmpty();
            if (usable)
                slot.tabCaption = slot.optionLabel = *name;
        }
        if (const std::optional<QString> start = text.value(group, StartKey)) {
            const bool good = SearchTemplate::addressProblem(*start).isEmpty();
            usable = usable && good;
            if (good)
                slot.startPage = *start;
        }
        if (const std::optional<QString> search = text.value(group, SearchKey)) {
            const bool good = SearchTemplate::templateProblem(*search).isEmpty();
            usable = usable && good;
            if (good)
                slot.searchTemplate = *search;
        }
        slot.closed = builtIn.closed && slot.startPage == builtIn.startPage &&
                      slot.searchTemplate == builtIn.searchTemplate;
        if (!usable)
            contents.unusableEntries.append(group);
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
    for (int site = 0; site < SiteCatalogue::SiteCount; ++site) {
        const QString group = groupOf(site);
        const Site &slot = lineup[site];
        if (slot == SiteCatalogue::builtInLineup()[site]) {
            for (const QString &key : {NameKey, StartKey, SearchKey})
                text.remove(group, key);
            continue;
        }
        text.setValue(group, NameKey, slot.tabCaption);
        text.setValue(group, StartKey, slot.startPage);
        text.setValue(group, SearchKey, slot.searchTemplate);
    }
    return text;
}

bool save(const QString &filePath, const IniText &text)
{
    return DataFile::write(filePath, text.toBytes());
}

} // namespace SitesFile
