#ifndef REELHOP_SESSION_SESSION_FILE_H
#define REELHOP_SESSION_SESSION_FILE_H

#include "results/page_reading.h"
#include "search/site_catalogue.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <optional>

// What the window showed, kept so that the next start can show it again: a JSON file of its own,
// written whole at every change.
namespace SessionFile {

struct View
{
    QString address;    // the page in sight, http or https; empty for none
    QByteArray history; // back and forward, as the engine keeps them; empty for none
    // How many times in a row the page's process ended before it loaded.
    int endedProcesses = 0;
    bool on = true; // whether its tab could be chosen (site tabs only)

    bool operator==(const View &) const = default;
};

struct Session
{
    int tab = SiteCatalogue::HomeTab; // the tab in sight
    QString searchText;
    std::array<View, SiteCatalogue::ViewCount> views;
    // The last search's readings, by site, in the order searched.
    QList<std::pair<int, PageReading>> readings;

    bool operator==(const Session &) const = default;
};

// A session file larger than this is none of the program's.
inline constexpr qint64 LargestFile = 16 * 1024 * 1024;

QString path(const QString &folder);

// Whether a view's page can be kept: only pages of the web are opened again.
bool isWebAddress(const QString &address);

QByteArray toBytes(const Session &session);
// Nothing when the bytes are not a session: not JSON, or a tab, view or result out of range.
// Addresses other than http and https are dropped.
std::optional<Session> fromBytes(const QByteArray &bytes);

} // namespace SessionFile

#endif
