#ifndef REELHOP_SEARCH_SITES_FILE_H
#define REELHOP_SEARCH_SITES_FILE_H

#include "files/ini_text.h"
#include "site_catalogue.h"

#include <QList>
#include <array>

// The sites file: the user's changes to the built-in lineup, as an INI text a person can edit.
// Groups "site1" to "site9" in tab order hold "name", "start", "search" and "keyword"; a missing
// group or key keeps the built-in value (a missing keyword: the one its site has by default). Group
// "engine", key "agent", replaces the browser's user agent.
namespace SitesFile {

QString path(const QString &folder);

// The group of a slot, counted from 0: "site1" to "site9".
QString groupOf(int site);

// The longest name, start page or search address a slot takes: what the Sites window writes,
// the reader reads back, nine slots of them well inside the file's read bound.
inline constexpr int LongestValue = 2000;

// The keys of a slot's rule for reading its results: they belong to the site they were written
// for, and go when the slot takes another site.
inline constexpr std::array<QStringView, 7> RuleKeys{u"item",   u"title",  u"link", u"image",
                                                     u"length", u"author", u"meta"};

struct Contents
{
    SiteCatalogue::Lineup lineup = SiteCatalogue::builtInLineup();
    // Empty: the engine's own.
    QString userAgent;
    // The groups ("site4") with an entry that was not usable, whose tab keeps its built-in site.
    QStringList unusableEntries;
    // The file as it was, so that a save keeps what the program does not know.
    IniText text;
};

Contents fromText(const IniText &text);

// The file's contents; the built-in lineup when there is no file; nothing when it exists but
// cannot be read.
std::optional<Contents> load(const QString &filePath);

// The text with the lineup's slots written over it: a slot that holds its built-in site has no
// keys of its own, so that a later version's addresses reach it; a slot whose search changes
// loses its rule.
IniText withLineup(IniText text, const SiteCatalogue::Lineup &lineup);

// Replaces the file whole, or leaves the old one as it was and returns false.
bool save(const QString &filePath, const IniText &text);

} // namespace SitesFile

#endif
