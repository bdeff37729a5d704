#ifndef REELHOP_BLOCKING_STAND_INS_H
#define REELHOP_BLOCKING_STAND_INS_H

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

// The harmless scripts, pictures and media Debian's uBlock Origin package ships to answer blocked
// requests that pages break without ("redirect=noop.js"), found by every name rules give them.
class StandIns
{
public:
    struct Resource
    {
        QByteArray bytes;
        QByteArray mimeType;
    };

    // From the first package folder that holds the table of names; none when none does.
    static StandIns read(const QStringList &packageFolders);
    // The package's table of names ("js/redirect-resources.js") for the files in the folder.
    static StandIns fromTable(QByteArrayView table, const QString &folder);

    bool contains(const QString &name) const { return m_files.contains(name); }
    // The stand-in's bytes, read when asked; nothing for a name it does not know or a file gone.
    std::optional<Resource> resource(const QString &name) const;

private:
    QHash<QString, QString> m_files; // by every name, the file
};

#endif
