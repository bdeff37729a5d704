#include "group_choice.h"

#include "groups_window.h"
#include "site_lineup.h"

#include <QComboBox>
#include <QDir>
#include <QSignalBlocker>

GroupChoice::GroupChoice(QString filePath, QComboBox *box, const SiteLineup *lineup,
                         QObject *parent)
    : QObject(parent), m_filePath(std::move(filePath)), m_box(box), m_lineup(lineup)
{
    connect(m_box, &QComboBox::activated, this, &GroupChoice::choose);
    fill();
}

GroupChoice::~GroupChoice()
{
    delete m_window.data();
}

void GroupChoice::load()
{
    const std::optional<SiteGroups::Contents> file = SiteGroups::load(m_filePath);
    m_unreadable = !file;
    if (m_unreadable)
        emit statusMessage(tr("The groups could not be read from %1: searches take the options' "
                              "sites, and the file is left as it is.")
                               .arg(QDir::toNativeSeparators(m_filePath)));
    m_contents = file.value_or(SiteGroups::Contents());
    fill();
}

void GroupChoice::fill()
{
    const QSignalBlocker quiet(m_box);
    m_box->clear();
    m_box->addItem(tr("Sites: Options"));
    // Each as what the closed box says the next search searches.
    for (const SiteGroup &group : m_contents.groups)
        m_box->addItem(tr("Sites: %1").arg(group.name));
    m_box->addItem(tr("Edit Groups..."));
    const SiteGroup *inUse = SiteGroups::inUse(m_contents);
    m_box->setCurrentIndex(inUse ? 1 + int(inUse - m_contents.groups.constData()) : 0);
}

void GroupChoice::choose(int index)
{
    if (index == m_box->count() - 1) {
        fill(); // the box keeps showing what searches search
        showWindow();
        return;
    }
    m_contents.inUse = index > 0 ? m_contents.groups[index - 1].name : QString();
    // Read again: what the user wrote into the file since stays; an unreadable file is kept.
    std::optional<SiteGroups::Contents> stored = SiteGroups::load(m_filePath);
    if (stored)
        stored->inUse = m_contents.inUse;
    if (m_unreadable || !stored || !SiteGroups::save(m_filePath, *stored))
        emit statusMessage(tr("The choice could not be saved to %1: it holds for this run.")
                               .arg(QDir::toNativeSeparators(m_filePath)));
}

void GroupChoice::showWindow()
{
    if (m_unreadable) {
        emit statusMessage(tr("The groups could not be read from %1, so they cannot be edited "
                              "until the file is mended or moved away.")
                               .arg(QDir::toNativeSeparators(m_filePath)));
        return;
    }
    if (!m_window) {
        m_window = new GroupsWindow(m_filePath, m_contents, m_lineup->sites());
        connect(m_window, &GroupsWindow::saved, this, [this](const SiteGroups::Contents &saved) {
            m_contents = saved;
            fill();
        });
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}
