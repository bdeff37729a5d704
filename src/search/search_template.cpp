#include "search_template.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace SearchTemplate {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("SearchTemplate", text);
}

} // namespace

QUrl expand(QStringView searchTemplate, const QString &text)
{
    const qsizetype marker = searchTemplate.indexOf(Marker);
    const QStringView before = marker < 0 ? searchTemplate : searchTemplate.first(marker);
    const QStringView after =
        marker < 0 ? QStringView() : searchTemplate.sliced(marker + Marker.size());
    // The template's own characters stay as a person typed them: Qt's tolerant reading escapes
    // blanks, controls and letters beyond ASCII, and keeps delimiters and escapes as they are.
    return QUrl::fromEncoded(before.toUtf8() + QUrl::toPercentEncoding(text) + after.toUtf8(),
                             QUrl::TolerantMode);
}

bool isPathStep(QStringView searchTemplate, const QString &text)
{
    if (text != u"." && text != u"..")
        return false;
    // Where a probe text lands tells whether the mark fills a whole segment of the path.
    const QString probe = u"reelhop-probe"_s;
    const QStringList segments = expand(searchTemplate, probe).path(QUrl::FullyEncoded).split(u'/');
    return segments.contains(probe);
}

QString addressProblem(const QString &address)
{
    const QUrl url(address.trimmed(), QUrl::TolerantMode);
    const bool web = url.scheme() == u"http" || url.scheme() == u"https";
    if (!url.isValid() || !web || url.host().isEmpty())
        return tr("Enter an http or https address.");
    return {};
}

QString templateProblem(const QString &searchTemplate)
{
    if (searchTemplate.count(Marker) > 1)
        return tr("Put %s in at most once.");
    const QUrl one = expand(searchTemplate.trimmed(), u"x"_s);
    if (!addressProblem(one.toString()).isEmpty())
        return tr("Enter an http or https address; %s marks the search text.");
    // The search text must not pick the site: "https://v.example" without a path would send
    // "cats" to v.examplecats.
    if (expand(searchTemplate.trimmed(), u"y"_s).host() != one.host())
        return tr("The search text would land in the site's name: put %s after the address's "
                  "first \"/\".");
    return {};
}

} // namespace SearchTemplate
