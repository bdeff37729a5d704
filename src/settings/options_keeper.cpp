#include "options_keeper.h"

#include "options_dialog.h"

#include <QDir>

OptionsKeeper::OptionsKeeper(QString settingsPath, QObject *parent)
    : QObject(parent), m_settingsPath(std::move(settingsPath))
{
}

// The window is a window of its own, no child: it goes with its keeper.
OptionsKeeper::~OptionsKeeper()
{
    delete m_dialog.data();
}

SettingsFile::States OptionsKeeper::states() const
{
    if (m_dialog)
        return m_dialog->states();
    // What a window made now would hold: the boxes the file names take its states, the
    // others start unticked.
    const QList<int> stored = SettingsFile::load(m_settingsPath);
    SettingsFile::States states{};
    std::copy(stored.begin(), stored.end(), states.begin());
    return states;
}

QList<int> OptionsKeeper::searchedSites() const
{
    QList<int> sites;
    const SettingsFile::States boxes = states();
    for (int site = 0; site < SiteCatalogue::SiteCount; ++site) {
        if (SiteCatalogue::isSelected(boxes[SiteCatalogue::searchBox(site)]))
            sites.append(site);
    }
    return sites;
}

OptionsDialog &OptionsKeeper::dialog(const SiteCatalogue::Lineup &lineup)
{
    if (!m_dialog) {
        m_dialog = new OptionsDialog(m_settingsPath, lineup);
        connect(m_dialog, &OptionsDialog::unloaded, this, [this] { m_dialog = nullptr; });
        connect(m_dialog, &OptionsDialog::saveFailed, this, [this](const QString &path) {
            emit statusMessage(
                tr("The options could not be saved to %1.").arg(QDir::toNativeSeparators(path)));
        });
    }
    return *m_dialog;
}

void OptionsKeeper::show(const SiteCatalogue::Lineup &lineup)
{
    OptionsDialog &window = dialog(lineup);
    window.show();
    window.raise();
    window.activateWindow();
    window.applySettingsFile();
}

void OptionsKeeper::showSiteLabels(const SiteCatalogue::Lineup &lineup)
{
    if (m_dialog)
        m_dialog->showSiteLabels(lineup);
}
