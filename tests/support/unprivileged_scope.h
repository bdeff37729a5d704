#ifndef REELHOP_TESTS_UNPRIVILEGED_SCOPE_H
#define REELHOP_TESTS_UNPRIVILEGED_SCOPE_H

#include <QFile>
#include <QtGlobal>
#include <unistd.h>

// Root may write into any folder; a read-only folder is only read-only to an ordinary user. Runs
// a scope as "nobody" when the test runs as root.
class UnprivilegedScope
{
public:
    UnprivilegedScope()
    {
        if (geteuid() == 0 && seteuid(Nobody) != 0)
            qFatal("cannot drop privileges");
    }
    ~UnprivilegedScope()
    {
        if (getuid() == 0 && seteuid(0) != 0)
            qFatal("cannot take privileges back");
    }
    Q_DISABLE_COPY_MOVE(UnprivilegedScope)

private:
    static constexpr uid_t Nobody = 65534;
};

// Read and enter for everyone, write for no one.
inline bool makeReadOnly(const QString &folder)
{
    return QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                             QFileDevice::ReadOther | QFileDevice::ExeOther);
}

inline bool makeWritable(const QString &folder)
{
    return QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                             QFileDevice::ExeOwner);
}

#endif
