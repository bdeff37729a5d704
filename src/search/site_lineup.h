#ifndef REELHOP_SEARCH_SITE_LINEUP_H
#define REELHOP_SEARCH_SITE_LINEUP_H

#include "site_catalogue.h"

#include <QObject>
#include <QPointer>
#include <array>

class SiteDescriptionFetch;
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
    void showWindow();
    // What the last search read, for the window.
    void showReadings(const Readings &readings);
    // A link of the home page's: the one to put live sites on the closed tabs opens the window
    // with a live site proposed on each.
    void followHomeLink(const QString &address);
    // Fetches the description a page declared and opens the window with its site ready to be
    // put on a tab; a description that cannot be used is said why.
    void takeSiteFrom(const QUrl &description, const QUrl &page);

signals:
    void changed(const SiteCatalogue::Lineup &before);
    void statusMessage(const QString &text);
    void teachRequested(int site);

private:
    QString m_filePath;
    SiteCatalogue::Lineup m_sites = SiteCatalogue::builtInLineup();
    QString m_userAgent;
    QString m_loadProblem;
    Readings m_readings;
    SiteDescriptionFetch *m_descriptions = nullptr;
    QPointer<SitesWindow> m_window;
};

#endif
