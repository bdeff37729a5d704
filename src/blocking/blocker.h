#ifndef REELHOP_BLOCKING_BLOCKER_H
#define REELHOP_BLOCKING_BLOCKER_H

#include "blocking_settings.h"
#include "filter_lists.h"
#include "list_sources.h"
#include "list_updater.h"
#include "request_policy.h"

#include <QHash>
#include <QObject>
#include <QTimer>

// The lists in use and the user's choices: answers the engine's questions for every page, and
// keeps blocking.ini. Lists are read off the window's thread; until they are, nothing is blocked.
class Blocker final : public QObject, public RequestPolicy
{
    Q_OBJECT

public:
    // The lists are those the packages installed and the user's own; the packages' stand-ins
    // answer blocked requests that rules name one for.
    explicit Blocker(const QString &dataFolder,
                     const QStringList &packageFolders = FilterLists::packageFolders(),
                     QObject *parent = nullptr);
    ~Blocker() override;
    Q_DISABLE_COPY_MOVE(Blocker)

    // Reads the lists in use in a thread of their own and reports through listsLoaded().
    void loadLists();
    // The lists and the settings as they are after the call; waits for nothing.
    void useLists(FilterLists::Loaded loaded);
    // Whether requests are decided as the settings say: the lists are read, or blocking is off.
    bool isReady() const { return m_filters || !m_settings.enabled; }

    RequestVerdict verdict(const QUrl &address, const QUrl &page,
                           Blocking::RequestType type) const override;
    PageHiding hiding(const QUrl &page) const override;
    std::optional<StandIns::Resource> standIn(const QString &name) const override;
    FrameScripts frameScripts(const QUrl &frame, const QUrl &page) const override;

    const BlockingSettings &settings() const { return m_settings; }
    // Takes the user's settings at once (reading the lists again when which are on changed) and
    // saves them; false when the file was not saved (they hold for this run all the same).
    bool apply(const BlockingSettings &settings);
    // Every list the program could use, on or off.
    QList<FilterLists::ListFile> availableLists() const;

    // Whether the page's site is one the user allowed, so nothing on its pages is blocked.
    bool isAllowed(const QUrl &page) const;
    // Allows the page's site or takes that back, and saves the choice; false when the file was
    // not saved (the choice holds for this run all the same).
    bool setAllowed(const QUrl &page, bool allowed);

    // The lists named by the settings, without those the user turned off.
    QString settingsPath() const { return BlockingSettings::path(m_dataFolder); }

    static QList<FilterLists::ListFile> listsInUse(QList<FilterLists::ListFile> available,
                                                   const BlockingSettings &settings);
    const QList<FilterLists::ListReport> &reports() const { return m_reports; }

    // Fetches a fresh copy of every list in use that has an address, due or not; false while
    // a round is under way.
    bool updateNow();
    bool isUpdating() const { return m_updater.isBusy(); }
    // What the last round did not do, a line a list ("EasyList: the update was not a filter
    // list; the copy of 3 Dec is kept").
    const QStringList &updateTroubles() const { return m_updateTroubles; }

signals:
    void listsLoaded();
    void updateProgress(int done, int total);
    // A round of updates ended; the lists are read again when any list was renewed.
    void updatesDone();
    // The user's choices changed, from whichever control.
    void settingsChanged();
    void statusMessage(const QString &text);

private:
    bool save();
    // The lists in use whose copy is older than it says it stays fresh (all of them: `due` off).
    QList<ListUpdater::Job> updateJobs(bool dueOnly) const;
    void updateDue();
    void updated(const QList<ListUpdater::Outcome> &outcomes);

    QString m_dataFolder;
    QStringList m_packageFolders;
    QStringList m_systemFolders;
    StandIns m_standIns;
    QHash<QString, ListSources::Source> m_sources;
    ListUpdater m_updater;
    QTimer m_updateCheck;
    QStringList m_updateTroubles;
    BlockingSettings m_settings;
    // The file exists but could not be read: it is never replaced.
    bool m_settingsUnreadable = false;
    std::shared_ptr<const Blocking::FilterSet> m_filters;
    QList<FilterLists::ListReport> m_reports;
    QThread *m_loading = nullptr;
    // The lists in use changed while they were being read.
    bool m_loadAgain = false;
};

#endif
