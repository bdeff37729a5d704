#include "running_copy.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>
#include <unistd.h>

using namespace Qt::StringLiterals;

QString RunningCopy::placeFor(const QString &dataFolder)
{
    // The runtime folder is the user's alone (the desktop makes it so); the shared temporary
    // folder is not: another user could take the name first.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QFileInfo runtimeInfo(runtime);
    constexpr QFile::Permissions Others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                          QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    const bool privateRuntime = !runtime.isEmpty() && runtimeInfo.isDir() &&
                                runtimeInfo.ownerId() == getuid() &&
                                !(runtimeInfo.permissions() & Others);
    const QString folder = QFileInfo(dataFolder).absoluteFilePath();
    const QByteArray id =
        QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return QDir(privateRuntime ? runtime : folder).filePath(u"reelhop-"_s + QLatin1StringView(id));
}

RunningCopy::RunningCopy(const QString &dataFolder)
    : m_socket(placeFor(dataFolder) + u".socket"_s), m_lock(placeFor(dataFolder) + u".lock"_s)
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
        first.connectToServer(m_socket);
        if (first.waitForConnected(500)) {
            first.write("show\n");
            return first.waitForBytesWritten(2000);
        }
        QThread::msleep(100);
    }
    return false;
}

bool RunningCopy::listen(QWidget *window)
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // What a killed copy left behind; the lock says no copy listens there now.
    QLocalServer::removeServer(m_socket);
    if (!m_server->listen(m_socket))
        return false;
    connect(m_server, &QLocalServer::newConnection, window, [this, window] {
        while (QLocalSocket *later = m_server->nextPendingConnection()) {
            connect(later, &QLocalSocket::disconnected, later, &QObject::deleteLater);
            window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
            window->show();
            window->raise();
            window->activateWindow();
        }
    });
    return true;
}
