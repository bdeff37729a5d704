#ifndef REELHOP_BLOCKING_LIST_UPDATER_H
#define REELHOP_BLOCKING_LIST_UPDATER_H

#include "list_sources.h"

#include <QList>
#include <QObject>
#include <QThread>

class ListFetcher;

// Fetches fresh copies of filter lists in a thread of its own, one list at a time, each from its
// addresses in turn, and keeps a copy only when it is a filter list, written whole. Fetches use
// the system's proxy settings and certificates, send and keep no cookies, and give up on a list
// after 30 s.
class ListUpdater final : public QObject
{
    Q_OBJECT

public:
    struct Job
    {
        QString name;               // "easylist.txt"
        ListSources::Source source; // where it comes from
        QString path;               // where the new copy goes
        int rulesBefore = 0;        // in the copy in use, those skipped too
    };
    struct Outcome
    {
        enum class Kind { Updated, Refused, Unreachable };
        QString name;
        Kind kind = Kind::Unreachable;
        QString reason; // why not, when not
    };

    explicit ListUpdater(QObject *parent = nullptr);
    ~ListUpdater() override;
    Q_DISABLE_COPY_MOVE(ListUpdater)

    // Fetches the lists unless a round is under way; false when one is.
    bool fetch(const QList<Job> &jobs);
    bool isBusy() const { return m_busy; }

signals:
    void progress(int done, int total);
    void finished(const QList<ListUpdater::Outcome> &outcomes);

private:
    QThread m_thread;
    ListFetcher *m_fetcher;
    bool m_busy = false;
};

#endif
