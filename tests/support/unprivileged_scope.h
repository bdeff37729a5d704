#ifndef REELHOP_TESTS_UNPRIVILEGED_SCOPE_H
#define REELHOP_TESTS_UNPRIVILEGED_SCOPE_H

#include <QFile>
#include <QtGlobal>
#include <unistd.h>

// Root may write into any folder; a read-only folder is only read-only to an ordinary user. Runs
// a scope as user and group "nobody" when the test runs as root.
class UnprivilegedScope
{
public:
    UnprivilegedScope()
    {
        // Real and effective ids both, as access() checks the real ones; the saved ids stay
        // root's, so the scope can take them back.
        if (m_root && (setresgid(Nobody, Nobody, 0) != 0 || setresuid(Nobody, Nobody, 0) != 0))
            qFatal("cannot drop privileges");
    }
    ~UnprivilegedScope()
    {
        if (m_root && (setresuid(0, 0, 0) != 0 || setresgid(0, 0, 0) != 0))
            qFatal("cannot take privileges back");
    }
    Q_DISABLE_COPY_MOVE(UnprivilegedScope)

private:
    static constexpr uid_t Nobody = 65534;
    const bool m_root = geteuid() == 0;
};

// Everyone may read and enter the folder; no one may add or remove files in it. Its file stays
// writable for everyone, so only a save that replaces the file whole can fail there.
inline bool makeReadOnly(const QString &folder, const QString &file = {})
{
    return (file.isEmpty() || QFile::setPermissions(file, QFileDevice::Permissions(0x6666))) &&
           QFile::setPermissions(folder, QFileDevice::Permissions(0x5555));
}

inline bool makeWritable(const QString &folder)
{
    return QFile::setPermissions(folder, QFileDevice::Permissions(0x7700));
}

#endif
