#include "download_folder.h"

#include "download_name.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

QString DownloadFolder::claim(const QString &folder, const QString &name)
{
    const QDir dir(folder);
    const QString free = DownloadName::unused(name, [&](const QString &candidate) {
        const QString path = dir.filePath(candidate);
        const QString partial = path + u".crdownload"_s;
        return m_coming.contains(path) || QFileInfo::exists(path) || QFileInfo(path).isSymLink() ||
               QFileInfo::exists(partial) || QFileInfo(partial).isSymLink();
    });
    m_coming.insert(dir.filePath(free));
    return free;
}

void DownloadFolder::release(const QString &folder, const QString &name)
{
    m_coming.remove(QDir(folder).filePath(name));
}
