#include "list_updater.h"

#include "files/data_file.h"
#include "list_check.h"

#include <QDir>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QTimer>

namespace {

constexpr qint64 LargestList = 64 * 1024 * 1024;
constexpr int ListTimeoutMs = 30000;

// The proxies the system names (http_proxy, https_proxy, no_proxy), asked each time.
class SystemProxies final : public QNetworkProxyFactory
{
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery &query) override
    {
        return systemProxyForQuery(query);
    }
};

} // namespace

// Lives in the updater's thread; each list's addresses are tried in turn until one answers
// with a filter list.
class ListFetcher final : public QObject
{
public:
    using Job = ListUpdater::Job;
    using Outcome = ListUpdater::Outcome;

    explicit ListFetcher(ListUpdater *updater) : m_updater(updater) {}

    void start(QList<Job> jobs)
    {
        if (!m_network) {
            m_network = new QNetworkAccessManager(this);
            m_network->setProxyFactory(new SystemProxies);
            m_network->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
        }
        m_jobs = std::move(jobs);
        m_outcomes.clear();
        m_address = 0;
        next();
    }

private:
    void next()
    {
        if (m_outcomes.size() == m_jobs.size()) {
            const QList<Outcome> outcomes = m_outcomes;
            QMetaObject::invokeMethod(
                m_updater, [updater = m_updater, outcomes] { emit updater->finished(outcomes); });
            return;
        }
        const Job &job = m_jobs[m_outcomes.size()];
        if (m_address >= job.source.addresses.size()) {
            finishJob({job.name, m_lastKind, m_lastReason});
            return;
        }
        QNetworkRequest request(job.source.addresses[m_address++]);
        request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
        request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
        QNetworkReply *reply = m_network->get(request);
        QTimer::singleShot(ListTimeoutMs, reply, [reply] { reply->abort(); });
        connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received) {
            if (received > LargestList)
                reply->abort();
        });
        connect(reply, &QNetworkReply::finished, this, [this, reply] { answered(reply); });
    }

    void answered(QNetworkReply *reply)
    {
        reply->deleteLater();
        const Job &job = m_jobs[m_outcomes.size()];
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (reply->error() != QNetworkReply::NoError || status != 200) {
            // What an address answered says more than that a later one did not.
            if (m_lastKind != Outcome::Kind::Refused)
                m_lastReason = reply->error() != QNetworkReply::NoError
                                   ? reply->errorString()
                                   : tr("the server answered %1").arg(status);
            next();
            return;
        }
        const QByteArray bytes = reply->readAll();
        const QString refusal = ListCheck::refusal(bytes, job.rulesBefore);
        if (!refusal.isEmpty()) {
            m_lastKind = Outcome::Kind::Refused;
            m_lastReason = refusal;
            next();
            return;
        }
        QDir().mkpath(QFileInfo(job.path).path());
        if (!DataFile::write(job.path, bytes)) {
            finishJob({job.name, Outcome::Kind::Refused,
                       tr("%1 could not be written").arg(QDir::toNativeSeparators(job.path))});
            return;
        }
        finishJob({job.name, Outcome::Kind::Updated, {}});
    }

    void finishJob(const Outcome &outcome)
    {
        m_outcomes.append(outcome);
        m_address = 0;
        m_lastKind = Outcome::Kind::Unreachable;
        m_lastReason = tr("it has no address to be fetched from");
        QMetaObject::invokeMethod(
            m_updater, [updater = m_updater, done = int(m_outcomes.size()),
                        total = int(m_jobs.size())] { emit updater->progress(done, total); });
        next();
    }

    ListUpdater *m_updater;
    QNetworkAccessManager *m_network = nullptr;
    QList<Job> m_jobs;
    QList<Outcome> m_outcomes;
    qsizetype m_address = 0;
    Outcome::Kind m_lastKind = Outcome::Kind::Unreachable;
    QString m_lastReason = tr("it has no address to be fetched from");
};

ListUpdater::ListUpdater(QObject *parent) : QObject(parent), m_fetcher(new ListFetcher(this))
{
    m_fetcher->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_fetcher, &QObject::deleteLater);
    connect(this, &ListUpdater::finished, this, [this] { m_busy = false; });
    m_thread.start(QThread::LowPriority);
}

ListUpdater::~ListUpdater()
{
    // A fetch under way is dropped with the thread's loop; a copy half written never replaces
    // the one in use.
    m_thread.quit();
    m_thread.wait();
}

bool ListUpdater::fetch(const QList<Job> &jobs)
{
    if (m_busy || jobs.isEmpty())
        return false;
    m_busy = true;
    QMetaObject::invokeMethod(m_fetcher, [fetcher = m_fetcher, jobs] { fetcher->start(jobs); });
    return true;
}
