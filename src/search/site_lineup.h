#ifndef REELHOP_SEARCH_SITE_LINEUP_H
#define REELHOP_SEARCH_SITE_LINEUP_H

#include "site_catalogue.h"

#include <QObject>
#include <QPointer>
#include <array>

class SitesWindow;

// The sites on the nine tabs: the sites file's lineup, read once at start, and the Sites window
// that changes it, one at a time; a closed window starts afresh at the next opening.
class SiteLineup final : public QObject
{
    Q_OBJECT

public:
    using Readings = std::array<QString, SiteCatalogue::SiteCount>;

    explicit SiteLineup(const QString &dataFolder, QObject *parent = nullptr);
    ~SiteLineup() override;
    Q_DISABLE_COPY_MOVE(SiteLineup)

    const SiteCatalogue::Lineup &sites() const { return m_sites; }
    // Empty for the engine's own.
    QString userAgent() const { return m_userAgent; }
    // What was wrong with the file at start, in words; empty when nothing was.
    QString loadProblem() const { return m_loadProblem; }

    // Opens the Sites window, or brings it to the front, with what each tab's last search read.
    void showWindow(const Readings &readings);
    // The same, a live site proposed on each closed site's tab.
    void proposeLiveSites(const Readings &readings);
    // What the last search read, for a window that is open.
    void showReadings(const Readings &readings);

signals:
    void changed(const SiteCatalogue::Lineup &before);
    void teachRequested(int site);

private:
    QString m_filePath;
    SiteCatalogue::Lineup m_sites = SiteCatalogue::builtInLineup();
    QString m_userAgent;
    QString m_loadProblem;
    QPointer<SitesWindow> m_window;
};

#endif
