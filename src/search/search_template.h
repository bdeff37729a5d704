#ifndef REELHOP_SEARCH_SEARCH_TEMPLATE_H
#define REELHOP_SEARCH_SEARCH_TEMPLATE_H

#include <QString>
#include <QUrl>

// A site's search address with the place of the search text marked by %s.
namespace SearchTemplate {

inline constexpr QStringView Marker = u"%s";

// The address for a text: the text, percent-encoded as UTF-8, stands at the marker, or after the
// template when it has none, so "&", "#", "/" and blanks reach the site as part of the text, in
// a query or a path alike. Nothing is trimmed; any other "%" of the template stays as written.
QUrl expand(QStringView searchTemplate, const QString &text);

// Whether the text would stand as a whole "." or ".." in the address's path, which every browser
// reads as a step in the path ("/search/../videos" is "/videos"), not as the text.
bool isPathStep(QStringView searchTemplate, const QString &text);

// Why an address cannot be a site's page, or nothing: only http and https pages with a host.
QString addressProblem(const QString &address);

// Why a template cannot be a site's search, or nothing.
QString templateProblem(const QString &searchTemplate);

} // namespace SearchTemplate

#endif
