#ifndef REELHOP_BROWSING_RESULTS_READING_H
#define REELHOP_BROWSING_RESULTS_READING_H

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <QVariant>

class QWebEngineLoadingInfo;
class QWebEnginePage;

// Reads a page's results with the window's script, in a world of the program's own: when the
// page has loaded, and again when it has stopped changing, for pages that draw their results
// after the load. Once a page has settled with results, reading stops until the next script.
class ResultsReading final : public QObject
{
    Q_OBJECT

public:
    explicit ResultsReading(QWebEnginePage *page);

    void setScript(const QString &script);

signals:
    void read(const QVariant &answer, bool settled);

private:
    void followLoading(const QWebEngineLoadingInfo &info);
    void poll();
    void runReader(bool last);
    void settle(const QVariant &answer);

    QWebEnginePage *m_page = nullptr;
    QString m_script;
    QTimer m_poll;
    QElapsedTimer m_sinceLoad;
    // The page's count of changes at the last poll and at the last reading.
    int m_changesPolled = -1;
    int m_changesRead = -1;
    int m_quietPolls = 0;
    QVariant m_lastAnswer;
};

#endif
