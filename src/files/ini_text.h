#ifndef REELHOP_FILES_INI_TEXT_H
#define REELHOP_FILES_INI_TEXT_H

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// A plain INI text that a person may have edited: "[group]" lines and "key=value" lines, values
// taken as written up to the line's end. Changing a value rewrites only its line, so comments,
// unknown groups and unknown keys come through a save as they were.
class IniText
{
public:
    static IniText fromBytes(const QByteArray &bytes);
    // UTF-8, each line ended by LF.
    QByteArray toBytes() const;

    // The value of the key's first line in the group's first section, without the blanks
    // around it; nothing when there is none. Names of groups and keys ignore case.
    std::optional<QString> value(QStringView group, QStringView key) const;

    // The groups' names in the order they first appear, each once.
    QStringList groups() const;

    // Replaces the key's line (and drops its repeats), or adds one at the end of the group,
    // adding the group at the end of the text when there is none.
    void setValue(const QString &group, const QString &key, const QString &value);
    // Removes the key's lines from the group.
    void remove(QStringView group, QStringView key);
    // Removes the group's first section when it holds nothing, not even a comment, and no later
    // section of the same name would count in its place.
    void removeIfEmpty(QStringView group);

private:
    struct Place
    {
        QList<qsizetype> keyLines; // the key's lines in the group, the one that counts first
        qsizetype groupEnd = -1;   // where a new line of the group goes; -1 without the group
    };
    Place find(QStringView group, QStringView key) const;

    QStringList m_lines;
};

#endif
