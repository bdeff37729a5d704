#include "session_keeper.h"

#include "browsing/browser_view.h"
#include "files/data_file.h"
#include "results/results_tab.h"
#include "search/site_lineup.h"
#include "settings/start_choice.h"

#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QTabWidget>

using namespace Qt::StringLiterals;

namespace {

// A page whose process ended this many times in a row, before it loaded, is not opened again
// at a start: it would take the program's start down with it each time.
constexpr int EndingsNotReopened = 2;

} // namespace

SessionKeeper::SessionKeeper(const QString &folder, Parts parts, QObject *parent)
    : QObject(parent), m_filePath(SessionFile::path(folder)),
      m_preferencesPath(StartChoice::path(folder)), m_parts(std::move(parts))
{
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(1000);
    connect(&m_saveTimer, &QTimer::timeout, this, &SessionKeeper::save);
    // A quit within the second after a change keeps it too.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] {
        if (m_saveTimer.isActive())
            save();
    });
    follow();
}

void SessionKeeper::follow()
{
    // At most a second after the first change: a page that keeps changing puts nothing off.
    const auto later = [this] {
        if (!m_saveTimer.isActive())
            m_saveTimer.start();
    };
    for (int index = 0; index < SiteCatalogue::ViewCount; ++index) {
        BrowserView *view = m_parts.views[index];
        connect(view, &BrowserView::loadStateChanged, this, [this, index, later](auto state) {
            // A page not opened yet that is sent elsewhere (a search) stays where it was sent.
            m_waiting.remove(index);
            if (state == BrowserView::LoadState::Loaded)
                m_endedProcesses[index] = 0;
            later();
        });
        connect(view, &BrowserView::processEnded, this, [this, index, later] {
            ++m_endedProcesses[index];
            later();
        });
    }
    connect(m_parts.tabs, &QTabWidget::currentChanged, this, [this, later](int tab) {
        if (const std::optional<int> view = SiteCatalogue::viewOfTab(tab))
            openPage(*view);
        later();
    });
    connect(m_parts.results, &ResultsTab::readingsChanged, this, later);
    // A tab given another site opens that site, not the page the old one was on.
    connect(m_parts.lineup, &SiteLineup::changed, this,
            [this](const SiteCatalogue::Lineup &before) {
                const SiteCatalogue::Lineup &lineup = m_parts.lineup->sites();
                for (int site = 0; site < SiteCatalogue::SiteCount; ++site)
                    if (lineup[site] != before[site] && m_waiting.contains(site)) {
                        m_waiting[site] = {lineup[site].startPage, {}, 0, m_waiting[site].on};
                        m_endedProcesses[site] = 0;
                    }
            });
}

std::optional<SessionFile::Session> SessionKeeper::readFile()
{
    m_fileRead = true;
    const std::optional<QByteArray> bytes = DataFile::read(m_filePath, SessionFile::LargestFile);
    if (bytes && bytes->isEmpty() && !DataFile::isPresent(m_filePath))
        return std::nullopt;
    std::optional<SessionFile::Session> session =
        bytes ? SessionFile::fromBytes(*bytes) : std::nullopt;
    if (!session)
        putAside(bytes ? tr("it is damaged") : tr("it cannot be read"));
    return session;
}

bool SessionKeeper::restoreIfChosen()
{
    if (StartChoice::read(m_preferencesPath) != StartChoice::Start::LastSession)
        return false;
    const std::optional<SessionFile::Session> session = readFile();
    if (!session)
        return false;
    m_parts.searchBox->setText(session->searchText);
    m_parts.results->showReadings(m_parts.lineup->sites(), session->readings);
    for (int view = 0; view < SiteCatalogue::ViewCount; ++view) {
        m_waiting.insert(view, session->views[view]);
        m_endedProcesses[view] = session->views[view].endedProcesses;
        if (view < SiteCatalogue::SiteCount)
            m_parts.setTabOn(view, session->views[view].on);
    }
    const int tab =
        m_parts.tabs->isTabEnabled(session->tab) ? session->tab : SiteCatalogue::HomeTab;
    m_parts.tabs->setCurrentIndex(tab);
    if (const std::optional<int> view = SiteCatalogue::viewOfTab(tab))
        openPage(*view); // when the tab was in sight already
    return true;
}

void SessionKeeper::openPage(int index)
{
    const auto waiting = m_waiting.constFind(index);
    if (waiting == m_waiting.cend())
        return;
    const SessionFile::View kept = *waiting;
    m_waiting.erase(waiting);
    BrowserView *view = m_parts.views[index];
    const bool ended = m_endedProcesses[index] >= EndingsNotReopened;
    if (!kept.address.isEmpty() && !ended) {
        if (kept.history.isEmpty())
            view->navigate(kept.address);
        else
            view->restoreHistory(kept.history, kept.address);
        return;
    }
    if (ended) {
        m_endedProcesses[index] = 0;
        emit statusMessage(tr("%1 was not opened again: its page's process ended twice in a row.")
                               .arg(kept.address));
    }
    // In its place, what a start without the session shows there.
    const SiteCatalogue::Lineup &lineup = m_parts.lineup->sites();
    if (index == SiteCatalogue::HomeView)
        StartPages::showHome(*view, lineup);
    else if (ended)
        view->navigate(lineup[index].startPage);
}

void SessionKeeper::putAside(const QString &why)
{
    QString aside = m_filePath + u".unread"_s;
    for (int number = 2; DataFile::isPresent(aside); ++number)
        aside = m_filePath + u".unread-%1"_s.arg(number);
    m_writable = QFile::rename(m_filePath, aside);
    emit statusMessage(
        m_writable ? tr("The session file was not used: %1. It was kept as %2.").arg(why, aside)
                   : tr("The session file was not used: %1. It stays as it is, "
                        "and this session is not kept (%2).")
                         .arg(why, m_filePath));
}

SessionFile::Session SessionKeeper::current() const
{
    SessionFile::Session session;
    session.tab = m_parts.tabs->currentIndex();
    session.searchText = m_parts.searchBox->text();
    session.readings = m_parts.results->readings();
    for (int index = 0; index < SiteCatalogue::ViewCount; ++index) {
        SessionFile::View &kept = session.views[index];
        if (const auto waiting = m_waiting.constFind(index); waiting != m_waiting.cend()) {
            kept = *waiting;
        } else if (const BrowserView *view = m_parts.views[index];
                   SessionFile::isWebAddress(view->locationUrl())) {
            kept.address = view->locationUrl();
            kept.history = view->savedHistory();
        }
        kept.endedProcesses = m_endedProcesses[index];
        kept.on = index >= SiteCatalogue::SiteCount || m_parts.tabs->isTabEnabled(index);
    }
    return session;
}

void SessionKeeper::save()
{
    m_saveTimer.stop();
    // A file the program never read may be one it could not: it is looked at before its place
    // is taken.
    if (!m_fileRead)
        readFile();
    if (!m_writable)
        return;
    const bool saved = DataFile::write(m_filePath, SessionFile::toBytes(current()));
    // Said once, not at every change.
    if (!saved && m_lastSaved)
        emit statusMessage(tr("The session could not be kept in %1.").arg(m_filePath));
    m_lastSaved = saved;
}
