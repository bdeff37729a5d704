#include "site_catalogue.h"

namespace SiteCatalogue {

QUrl searchAddress(int site, const QString &text)
{
    const QByteArray prefix = Sites.at(site).searchPrefix.toLatin1();
    return QUrl::fromEncoded(prefix + QUrl::toPercentEncoding(text), QUrl::StrictMode);
}

std::optional<int> viewOfTab(int tab)
{
    if (tab >= 0 && tab < SiteCount)
        return tab;
    if (tab == HomeTab)
        return HomeView;
    return std::nullopt;
}

QString tabCaption(int tab)
{
    if (tab >= 0 && tab < SiteCount)
        return Sites.at(tab).tabCaption.toString();
    switch (tab) {
    case FavoritesTab:
        return QStringLiteral("Favorites");
    case NotesTab:
        return QStringLiteral("My Notes");
    case HomeTab:
        return HomeCaption.toString();
    default:
        return {};
    }
}

} // namespace SiteCatalogue
