#include "results_reading.h"

#include <QPointer>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineScript>

using namespace Qt::StringLiterals;

namespace {

constexpr auto PollInterval = std::chrono::milliseconds(150);
// Two quiet polls in a row, 300 ms without a change: the page has stopped changing.
constexpr int QuietPolls = 2;
// However busy the page stays, what it shows this long after the load is its results.
constexpr qint64 LongestSettleMs = 5000;

int changesOf(const QVariant &answer)
{
    return answer.toMap().value(u"changes"_s, -1).toInt();
}

bool hasResults(const QVariant &answer)
{
    return !answer.toMap().value(u"results"_s).toList().isEmpty();
}

} // namespace

ResultsReading::ResultsReading(QWebEnginePage *page) : QObject(page), m_page(page)
{
    m_poll.setInterval(PollInterval);
    connect(&m_poll, &QTimer::timeout, this, &ResultsReading::poll);
    connect(page, &QWebEnginePage::loadingChanged, this, &ResultsReading::followLoading);
}

void ResultsReading::setScript(const QString &script)
{
    m_script = script;
    m_poll.stop();
}

void ResultsReading::followLoading(const QWebEngineLoadingInfo &info)
{
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
        m_poll.stop();
    } else if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus && !m_script.isEmpty()) {
        m_sinceLoad.start();
        m_changesPolled = m_changesRead = -1;
        m_quietPolls = 0;
        m_lastAnswer.clear();
        m_poll.start();
        runReader(false);
    }
}

void ResultsReading::poll()
{
    if (m_sinceLoad.elapsed() >= LongestSettleMs) {
        m_poll.stop();
        runReader(true);
        return;
    }
    QPointer<ResultsReading> self(this);
    m_page->runJavaScript(u"(window.reelhopReader || {changes: -1}).changes"_s,
                          QWebEngineScript::ApplicationWorld, [self](const QVariant &changes) {
                              if (!self || !self->m_poll.isActive())
                                  return;
                              const int count = changes.toInt();
                              self->m_quietPolls =
                                  count == self->m_changesPolled ? self->m_quietPolls + 1 : 0;
                              self->m_changesPolled = count;
                              if (self->m_quietPolls != QuietPolls)
                                  return;
                              if (count != self->m_changesRead)
                                  self->runReader(false);
                              else if (hasResults(self->m_lastAnswer))
                                  self->settle(self->m_lastAnswer);
                          });
}

void ResultsReading::runReader(bool last)
{
    QPointer<ResultsReading> self(this);
    const QUrl page = m_page->url();
    m_page->runJavaScript(m_script, QWebEngineScript::ApplicationWorld,
                          [self, last, page](const QVariant &answer) {
                              // An answer about a page since left is no answer.
                              if (!self || self->m_page->url() != page || self->m_script.isEmpty())
                                  return;
                              self->m_changesRead = changesOf(answer);
                              self->m_lastAnswer = answer;
                              // Quiet and showing results, or out of time: settled.
                              if (last || (hasResults(answer) && self->m_quietPolls >= QuietPolls))
                                  self->settle(answer);
                              else
                                  emit self->read(answer, false);
                          });
}

void ResultsReading::settle(const QVariant &answer)
{
    m_poll.stop();
    if (hasResults(answer))
        m_script.clear();
    emit read(answer, true);
}
