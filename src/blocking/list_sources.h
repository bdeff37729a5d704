#ifndef REELHOP_BLOCKING_LIST_SOURCES_H
#define REELHOP_BLOCKING_LIST_SOURCES_H

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

// Where each list the uBlock Origin package installs comes from, as its assets.json names it: the
// list's own addresses, then its mirrors.
namespace ListSources {

struct Source
{
    QString title; // "EasyList"
    QList<QUrl> addresses;

    bool operator==(const Source &) const = default;
};

// By the installed list's file name ("easylist.txt"), from the first package folder whose
// assets.json reads. Only https addresses count, and plain http to this machine itself.
QHash<QString, Source> read(const QStringList &packageFolders);
QHash<QString, Source> fromAssets(const QByteArray &json);

} // namespace ListSources

#endif
