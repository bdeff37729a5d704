#include "blocker.h"

#include "files/data_file.h"
#include "public_suffix.h"

#include <QDir>
#include <QLocale>
#include <QThread>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// How often the lists' freshness is looked at while the program runs.
constexpr auto UpdateCheckInterval = std::chrono::hours(1);

} // namespace

Blocker::Blocker(const QString &dataFolder, const QStringList &packageFolders, QObject *parent)
    : QObject(parent), m_dataFolder(dataFolder), m_packageFolders(packageFolders),
      m_systemFolders(FilterLists::systemListFolders(packageFolders))
{
    m_updateCheck.setInterval(UpdateCheckInterval);
    connect(&m_updateCheck, &QTimer::timeout, this, &Blocker::updateDue);
    connect(&m_updater, &ListUpdater::progress, this, &Blocker::updateProgress);
    connect(&m_updater, &ListUpdater::finished, this, &Blocker::updated);
    const std::optional<BlockingSettings> settings =
        BlockingSettings::load(BlockingSettings::path(dataFolder));
    m_settingsUnreadable = !settings;
    if (settings)
        m_settings = *settings;
}

Blocker::~Blocker()
{
    if (m_loading)
        m_loading->wait();
}

QList<FilterLists::ListFile> Blocker::listsInUse(QList<FilterLists::ListFile> files,
                                                 const BlockingSettings &settings)
{
    files.removeIf([&](const FilterLists::ListFile &file) {
        return settings.listsOff.contains(file.name, Qt::CaseInsensitive);
    });
    return files;
}

void Blocker::loadLists()
{
    if (m_loading) {
        m_loadAgain = true;
        return;
    }
    const QList<FilterLists::ListFile> files = listsInUse(availableLists(), m_settings);
    m_loading = QThread::create([this, files, packages = m_packageFolders] {
        FilterLists::Loaded loaded = FilterLists::load(
            files, std::make_shared<const ScriptletLibrary>(ScriptletLibrary::read(packages)));
        StandIns standIns = StandIns::read(packages);
        QHash<QString, ListSources::Source> sources = ListSources::read(packages);
        QMetaObject::invokeMethod(
            this,
            [this, loaded = std::move(loaded), standIns = std::move(standIns),
             sources = std::move(sources)]() mutable {
                m_standIns = std::move(standIns);
                m_sources = std::move(sources);
                useLists(std::move(loaded));
                // At start, then every so often: a copy goes stale while the program runs.
                if (!m_updateCheck.isActive()) {
                    m_updateCheck.start();
                    updateDue();
                }
            },
            Qt::QueuedConnection);
    });
    connect(m_loading, &QThread::finished, m_loading, &QObject::deleteLater);
    connect(m_loading, &QThread::finished, this, [this] {
        m_loading = nullptr;
        if (std::exchange(m_loadAgain, false))
            loadLists();
    });
    m_loading->start(QThread::LowPriority);
}

void Blocker::useLists(FilterLists::Loaded loaded)
{
    m_filters = std::move(loaded.filters);
    m_reports = std::move(loaded.reports);
    emit listsLoaded();
    if (m_settingsUnreadable)
        emit statusMessage(
            tr("%1 could not be read: blocking is on with every list, and the file "
               "is left as it is")
                .arg(QDir::toNativeSeparators(BlockingSettings::path(m_dataFolder))));
    QStringList failed;
    for (const FilterLists::ListReport &report : m_reports)
        if (!report.failure.isEmpty())
            failed.append(tr("%1 (%2)").arg(report.file.name, report.failure));
    if (!failed.isEmpty())
        emit statusMessage(tr("Filter lists skipped: %1").arg(failed.join(u"; "_s)));
    else if (m_reports.isEmpty() && m_settings.enabled)
        emit statusMessage(tr("Nothing is blocked: no filter list is installed (the package "
                              "webext-ublock-origin-chromium brings them)"));
}

RequestVerdict Blocker::verdict(const QUrl &address, const QUrl &page,
                                Blocking::RequestType type) const
{
    if (!m_settings.enabled || !m_filters || isAllowed(page))
        return {};
    const Blocking::Decision decision =
        m_filters->decide(Blocking::Request::make(address, page, type));
    if (!decision.blocked())
        return {{},
                decision.withoutParameters.isEmpty()
                    ? QUrl()
                    : QUrl::fromEncoded(decision.withoutParameters, QUrl::StrictMode)};
    // A page's own frame is never sent to a stand-in: the notice of a blocked page says more.
    const QString resource = QString::fromUtf8(decision.resource);
    return {tr("%1 (%2)").arg(QString::fromUtf8(decision.rule), decision.list),
            type != Blocking::RequestType::Document && m_standIns.contains(resource)
                ? standInAddress(resource)
                : QUrl()};
}

QList<ListUpdater::Job> Blocker::updateJobs(bool dueOnly) const
{
    QList<ListUpdater::Job> jobs;
    const QDateTime now = QDateTime::currentDateTime();
    for (const FilterLists::ListReport &report : m_reports) {
        const auto source = m_sources.constFind(report.file.name);
        if (source == m_sources.cend() || report.file.name.startsWith(u"filters/"_s))
            continue;
        const auto age = std::chrono::seconds(report.modified.secsTo(now));
        if (dueOnly && report.failure.isEmpty() && age < report.freshFor)
            continue;
        jobs.append({report.file.name, *source,
                     QDir(FilterLists::freshFolder(m_dataFolder)).filePath(report.file.name),
                     report.count.rules + report.count.skipped});
    }
    return jobs;
}

void Blocker::updateDue()
{
    if (m_settings.enabled && m_settings.updateLists)
        m_updater.fetch(updateJobs(true));
}

bool Blocker::updateNow()
{
    return m_updater.fetch(updateJobs(false));
}

void Blocker::updated(const QList<ListUpdater::Outcome> &outcomes)
{
    m_updateTroubles.clear();
    QStringList unreached;
    QString unreachedWhy;
    bool renewed = false;
    for (const ListUpdater::Outcome &outcome : outcomes) {
        const auto report = std::find_if(
            m_reports.cbegin(), m_reports.cend(),
            [&](const FilterLists::ListReport &each) { return each.file.name == outcome.name; });
        const QString title = m_sources.value(outcome.name).title;
        const QString kept = report == m_reports.cend()
                                 ? QString()
                                 : QLocale().toString(report->modified.date(), u"d MMM"_s);
        switch (outcome.kind) {
        case ListUpdater::Outcome::Kind::Updated:
            renewed = true;
            break;
        case ListUpdater::Outcome::Kind::Refused:
            m_updateTroubles.append(
                tr("%1: %2; the copy of %3 is kept").arg(title, outcome.reason, kept));
            break;
        case ListUpdater::Outcome::Kind::Unreachable:
            unreached.append(title);
            unreachedWhy = outcome.reason;
            break;
        }
    }
    // Offline is no alarm: the copies stay and the next try comes later; said in one line.
    if (!unreached.isEmpty())
        m_updateTroubles.append(tr("Not reached: %1 (%2). The copies in use are kept and tried "
                                   "again later.")
                                    .arg(unreached.join(u", "_s), unreachedWhy));
    if (renewed)
        loadLists();
    emit updatesDone();
}

FrameScripts Blocker::frameScripts(const QUrl &frame, const QUrl &page) const
{
    // A site the user allowed gets none, in its own frames or in those of others it shows.
    if (!m_settings.enabled || !m_filters || !m_filters->scriptlets() || isAllowed(page) ||
        isAllowed(frame))
        return {};
    const QList<ScriptletLibrary::Call> calls = m_filters->scriptletsFor(frame);
    if (calls.isEmpty())
        return {};
    const ScriptletLibrary &library = *m_filters->scriptlets();
    return {library.compose(calls, ScriptletLibrary::World::Page),
            library.compose(calls, ScriptletLibrary::World::Isolated)};
}

std::optional<StandIns::Resource> Blocker::standIn(const QString &name) const
{
    return m_standIns.resource(name);
}

PageHiding Blocker::hiding(const QUrl &page) const
{
    if (!m_settings.enabled || !m_filters || isAllowed(page))
        return {};
    return m_filters->hiding(page);
}

bool Blocker::apply(const BlockingSettings &settings)
{
    const bool listsChanged = settings.listsOff != m_settings.listsOff;
    const bool updatesTurnedOn = settings.updateLists && !m_settings.updateLists;
    m_settings = settings;
    if (updatesTurnedOn)
        updateDue();
    if (listsChanged)
        loadLists();
    return save();
}

bool Blocker::save()
{
    emit settingsChanged();
    // A file that exists but could not be read holds what the user kept there: never replaced.
    return !m_settingsUnreadable &&
           DataFile::write(BlockingSettings::path(m_dataFolder), m_settings.toText().toBytes());
}

QList<FilterLists::ListFile> Blocker::availableLists() const
{
    return FilterLists::available(m_dataFolder, m_systemFolders);
}

namespace {

// Whether the allowed site is the host or a domain above it. A site kept by an earlier version,
// which told sites apart by their last labels alone, still allows what it allowed then.
bool covers(const QString &site, const QString &host)
{
    return host == site || (host.endsWith(site) && host[host.size() - site.size() - 1] == u'.');
}

} // namespace

bool Blocker::isAllowed(const QUrl &page) const
{
    const QString host = page.host(QUrl::FullyEncoded).toLower();
    return !host.isEmpty() &&
           std::any_of(m_settings.allowedSites.cbegin(), m_settings.allowedSites.cend(),
                       [&](const QString &site) { return covers(site, host); });
}

bool Blocker::setAllowed(const QUrl &page, bool allowed)
{
    const QString host = page.host(QUrl::FullyEncoded).toLower();
    if (host.isEmpty())
        return false;
    m_settings.allowedSites.removeIf([&](const QString &site) { return covers(site, host); });
    if (allowed)
        m_settings.allowedSites.append(QString::fromUtf8(Blocking::siteOf(host.toUtf8())));
    return save();
}
