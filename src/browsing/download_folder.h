#ifndef REELHOP_BROWSING_DOWNLOAD_FOLDER_H
#define REELHOP_BROWSING_DOWNLOAD_FOLDER_H

#include <QSet>
#include <QString>

// The names the profile's downloads take. A name is free when no file has it, nor the engine's
// partial file of it, nor a download of any tab still coming under it: the engine writes a
// download under another name and gives it its own only at the end.
class DownloadFolder final
{
public:
    // A free name for the file in the folder, kept until released.
    QString claim(const QString &folder, const QString &name);
    void release(const QString &folder, const QString &name);

private:
    QSet<QString> m_coming;
};

#endif
