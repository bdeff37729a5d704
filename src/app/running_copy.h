#ifndef REELHOP_APP_RUNNING_COPY_H
#define REELHOP_APP_RUNNING_COPY_H

#include <QLockFile>
#include <QObject>

class QLocalServer;
class QWidget;

// One running copy for each data folder: two would write their own favorites, history and zoom
// over each other's, and share one engine profile, which the engine does not support. The first
// copy holds a lock and listens; a later start asks it to come to the front and ends. Both live
// where only the user can reach them, named after the data folder, so copies with folders of
// their own run side by side.
class RunningCopy final : public QObject
{
    Q_OBJECT

public:
    explicit RunningCopy(const QString &dataFolder);
    ~RunningCopy() override;
    Q_DISABLE_COPY_MOVE(RunningCopy)

    // The lock's and the socket's name without their endings: in the user's runtime folder when
    // there is one, else in the data folder.
    static QString placeFor(const QString &dataFolder);

    // Whether this is the only copy; the answer holds for its life.
    bool isFirst();
    // Asks the first copy to show its window; false when it did not answer.
    bool handOver();
    // Brings the window to the front whenever a later start asks; false when no later start can
    // reach this copy.
    bool listen(QWidget *window);

private:
    QString m_socket;
    QLockFile m_lock;
    QLocalServer *m_server = nullptr;
};

#endif
