#ifndef REELHOP_SEARCH_OPEN_SEARCH_H
#define REELHOP_SEARCH_OPEN_SEARCH_H

#include "site_catalogue.h"

#include <QByteArray>
#include <QUrl>
#include <optional>

// OpenSearch descriptions: how a site tells where it takes a search (a page's
// <link rel="search">), and how the program tells it of its own sites.
namespace OpenSearch {

inline constexpr qsizetype LargestDescription = 64 * 1024;

struct Reading
{
    std::optional<Site> site;
    // Why there is no site, in words.
    QString problem;
};

// The site a description names: its ShortName, and its text/html Url's template with
// {searchTerms} as %s, read against the description's address. Read safely: a description that
// declares a document type (entities, external references) is refused unread, and so is a
// template with a parameter the program cannot fill.
Reading read(const QByteArray &xml, const QUrl &address);

// The description of a site, for a browser or another program.
QByteArray describe(const Site &site);

} // namespace OpenSearch

#endif
