#include "running_copy.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QString copyName()
{
    return u"reelhop-%1"_s.arg(getuid());
}

} // namespace

RunningCopy::RunningCopy() : m_name(copyName()), m_lock(QDir::temp().filePath(m_name + u".lock"_s))
{
}

RunningCopy::~RunningCopy() = default;

bool RunningCopy::isFirst()
{
    // A lock left by a copy that was killed names a process that is gone: it is taken over.
    return m_lock.isLocked() || m_lock.tryLock(0);
}

bool RunningCopy::handOver()
{
    // The first copy may still be starting: it listens once its window is made.
    const QDeadlineTimer deadline(std::chrono::seconds(10));
    while (!deadline.hasExpired()) {
        QLocalSocket first;
        first.connectToServer(m_name);
        if (first.waitForConnected(500)) {
            first.write("show\n");
            return first.waitForBytesWritten(2000);
        }
        QThread::msleep(100);
    }
    return false;
}

void RunningCopy::listen(QWidget *window)
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // What a killed copy left behind; the lock says no copy listens there now.
    QLocalServer::removeServer(m_name);
    m_server->listen(m_name);
    connect(m_server, &QLocalServer::newConnection, window, [this, window] {
        while (QLocalSocket *later = m_server->nextPendingConnection()) {
            connect(later, &QLocalSocket::disconnected, later, &QObject::deleteLater);
            window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
            window->show();
            window->raise();
            window->activateWindow();
        }
    });
}
