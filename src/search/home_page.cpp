#include "home_page.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>

using namespace Qt::StringLiterals;

QString homePageHtml(const SiteCatalogue::Lineup &lineup)
{
    QFile file(u":/home/index.html"_s);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString page = QString::fromUtf8(file.readAll());

    QString list;
    for (const Site &site : lineup) {
        const QString item = site.closed
                                 ? u"  <li><a class=\"closed\" href=\"%1\">%2 (closed)</a></li>\n"_s
                                 : u"  <li><a href=\"%1\">%2</a></li>\n"_s;
        list += item.arg(site.startPage.toHtmlEscaped(), site.tabCaption.toHtmlEscaped());
    }
    if (std::ranges::any_of(lineup, &Site::closed))
        page.replace(u"<!-- live sites -->"_s,
                     u"<p><a id=\"live-sites\" href=\"%1\">%2</a></p>"_s.arg(
                         LiveSitesLink, QCoreApplication::translate(
                                            "HomePage", "Put live sites on the closed tabs...")));
    // The bundled page lists the built-in sites between these marks.
    const QString begin = u"<!-- sites -->\n"_s;
    const qsizetype from = page.indexOf(begin) + begin.size();
    const qsizetype to = page.indexOf(u"<!-- /sites -->"_s);
    if (from >= begin.size() && to >= from)
        page.replace(from, to - from, list);
    return page;
}
