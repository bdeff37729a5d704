#include "site_lineup.h"

#include "home_page.h"
#include "site_description_fetch.h"
#include "sites_file.h"
#include "sites_window.h"

#include <QDir>

using namespace Qt::StringLiterals;

SiteLineup::SiteLineup(const QString &dataFolder, QObject *parent)
    : QObject(parent), m_filePath(SitesFile::path(dataFolder))
{
    const QString shownPath = QDir::toNativeSeparators(m_filePath);
    const std::optional<SitesFile::Contents> file = SitesFile::load(m_filePath);
    if (!file) {
        m_loadProblem =
            tr("The sites could not be read from %1: the built-in sites are used.").arg(shownPath);
        return;
    }
    m_sites = file->lineup;
    m_userAgent = file->userAgent;
    if (!file->unusableEntries.isEmpty())
        m_loadProblem = tr("%1: [%2] holds an address that is not an http or https one, or an "
                           "empty name; those tabs keep their built-in sites.")
                            .arg(shownPath, file->unusableEntries.join(u"], ["_s));
}

SiteLineup::~SiteLineup()
{
    delete m_window.data();
}

void SiteLineup::showWindow()
{
    if (!m_window) {
        m_window = new SitesWindow(m_filePath, m_sites);
        connect(m_window, &SitesWindow::saved, this, [this](const SiteCatalogue::Lineup &sites) {
            emit changed(std::exchange(m_sites, sites));
        });
        // A closed window is on its way out: the next opening starts afresh.
        connect(m_window, &QDialog::finished, this, [this] { m_window = nullptr; });
        connect(m_window, &SitesWindow::teachRequested, this, &SiteLineup::teachRequested);
    }
    m_window->showReadings(m_readings);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void SiteLineup::showReadings(const Readings &readings)
{
    m_readings = readings;
    if (m_window)
        m_window->showReadings(readings);
}

void SiteLineup::followHomeLink(const QString &address)
{
    if (address != LiveSitesLink)
        return;
    showWindow();
    m_window->proposeLiveSites();
}

void SiteLineup::takeSiteFrom(const QUrl &description, const QUrl &page)
{
    if (!m_descriptions) {
        m_descriptions = new SiteDescriptionFetch(this);
        connect(m_descriptions, &SiteDescriptionFetch::read, this,
                [this](const OpenSearch::Reading &reading) {
                    if (!reading.site) {
                        emit statusMessage(
                            tr("The site's description cannot be used: %1").arg(reading.problem));
                        return;
                    }
                    showWindow();
                    m_window->offerSite(*reading.site);
                });
    }
    m_descriptions->fetch(description, page);
}
