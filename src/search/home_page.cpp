#include "home_page.h"

#include <QFile>

QString homePageHtml(const SiteCatalogue::Lineup &lineup)
{
    QFile file(u":/home/index.html"_qs);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString page = QString::fromUtf8(file.readAll());

    QString list;
    for (const Site &site : lineup) {
        const QString item =
            site.closed ? u"  <li><a class=\"closed\" href=\"%1\">%2 (closed)</a></li>\n"_qs
                        : u"  <li><a href=\"%1\">%2</a></li>\n"_qs;
        list += item.arg(site.startPage.toHtmlEscaped(), site.tabCaption.toHtmlEscaped());
    }
    // The bundled page lists the built-in sites between these marks.
    const QString begin = u"<!-- sites -->\n"_qs;
    const qsizetype from = page.indexOf(begin) + begin.size();
    const qsizetype to = page.indexOf(u"<!-- /sites -->"_qs);
    if (from < begin.size() || to < from)
        return page;
    return page.replace(from, to - from, list);
}
