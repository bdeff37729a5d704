#ifndef REELHOP_APP_RUNNING_COPY_H
#define REELHOP_APP_RUNNING_COPY_H

#include <QLockFile>
#include <QObject>

class QLocalServer;
class QWidget;

// One running copy for each user: two would write their own favorites, history and zoom over
// each other's, and share one engine profile, which the engine does not support. The first copy
// holds a lock and listens; a later start asks it to come to the front and ends.
class RunningCopy final : public QObject
{
    Q_OBJECT

public:
    RunningCopy();
    ~RunningCopy() override;
    Q_DISABLE_COPY_MOVE(RunningCopy)

    // Whether this is the only copy; the answer holds for its life.
    bool isFirst();
    // Asks the first copy to show its window; false when it did not answer.
    bool handOver();
    // Brings the window to the front whenever a later start asks.
    void listen(QWidget *window);

private:
    QString m_name;
    QLockFile m_lock;
    QLocalServer *m_server = nullptr;
};

#endif
