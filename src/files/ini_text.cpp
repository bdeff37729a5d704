#include "ini_text.h"

#include "data_file.h"

namespace {

// "[name]", with blanks around the name and a comment after it, as INI files allow.
std::optional<QStringView> groupOf(QStringView line)
{
    line = line.trimmed();
    const qsizetype close = line.indexOf(u']');
    if (!line.startsWith(u'[') || close < 0)
        return std::nullopt;
    const QStringView after = line.sliced(close + 1).trimmed();
    if (!after.isEmpty() && !after.startsWith(u';') && !after.startsWith(u'#'))
        return std::nullopt;
    return line.sliced(1, close - 1).trimmed();
}

bool isComment(QStringView line)
{
    line = line.trimmed();
    return line.startsWith(u';') || line.startsWith(u'#');
}

// The key of a "key=value" line, or nothing.
std::optional<QStringView> keyOf(QStringView line)
{
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0 || isComment(line) || groupOf(line))
        return std::nullopt;
    return line.first(equals).trimmed();
}

} // namespace

IniText IniText::fromBytes(const QByteArray &bytes)
{
    IniText text;
    for (const QByteArrayView line : DataFile::lines(DataFile::withoutByteOrderMark(bytes)))
        text.m_lines.append(QString::fromUtf8(line));
    return text;
}

QByteArray IniText::toBytes() const
{
    QByteArray bytes;
    for (const QString &line : m_lines)
        bytes += line.toUtf8() + '\n';
    return bytes;
}

IniText::Place IniText::find(QStringView group, QStringView key) const
{
    Place place;
    bool inGroup = false;
    for (qsizetype index = 0; index < m_lines.size(); ++index) {
        const QString &line = m_lines[index];
        if (const std::optional<QStringView> name = groupOf(line)) {
            // Only the group's first section counts.
            if (inGroup)
                break;
            inGroup = place.groupEnd < 0 && name->compare(group, Qt::CaseInsensitive) == 0;
            if (inGroup)
                place.groupEnd = index + 1;
        } else if (inGroup && !line.trimmed().isEmpty()) {
            place.groupEnd = index + 1;
            const std::optional<QStringView> lineKey = keyOf(line);
            if (lineKey && lineKey->compare(key, Qt::CaseInsensitive) == 0)
                place.keyLines.append(index);
        }
    }
    return place;
}

std::optional<QString> IniText::value(QStringView group, QStringView key) const
{
    const QList<qsizetype> lines = find(group, key).keyLines;
    if (lines.isEmpty())
        return std::nullopt;
    const QString &line = m_lines[lines.constFirst()];
    return line.sliced(line.indexOf(u'=') + 1).trimmed();
}

QStringList IniText::groups() const
{
    QStringList names;
    for (const QString &line : m_lines) {
        const std::optional<QStringView> name = groupOf(line);
        if (name && !names.contains(*name, Qt::CaseInsensitive))
            names.append(name->toString());
    }
    return names;
}

void IniText::setValue(const QString &group, const QString &key, const QString &value)
{
    // A value is one line: a line break in it would start a key of its own.
    QString line = key + u'=' + value;
    line.replace(u'\r', u' ').replace(u'\n', u' ');
    Place place = find(group, key);
    if (!place.keyLines.isEmpty()) {
        m_lines[place.keyLines.takeFirst()] = line;
        // A later line of the same key would come to light once this one is removed.
        for (auto later = place.keyLines.crbegin(); later != place.keyLines.crend(); ++later)
            m_lines.removeAt(*later);
        return;
    }
    if (place.groupEnd < 0) {
        if (!m_lines.isEmpty() && !m_lines.constLast().trimmed().isEmpty())
            m_lines.append(QString());
        m_lines.append(u'[' + group + u']');
        place.groupEnd = m_lines.size();
    }
    m_lines.insert(place.groupEnd, line);
}

void IniText::remove(QStringView group, QStringView key)
{
    const QList<qsizetype> lines = find(group, key).keyLines;
    for (auto line = lines.crbegin(); line != lines.crend(); ++line)
        m_lines.removeAt(*line);
}

void IniText::removeIfEmpty(QStringView group)
{
    for (qsizetype header = 0; header < m_lines.size(); ++header) {
        const std::optional<QStringView> name = groupOf(m_lines[header]);
        if (!name || name->compare(group, Qt::CaseInsensitive) != 0)
            continue;
        qsizetype end = header + 1;
        for (; end < m_lines.size() && !groupOf(m_lines[end]); ++end) {
            if (!m_lines[end].trimmed().isEmpty())
                return;
        }
        // A later section of the same name would come to light and count instead.
        for (qsizetype later = end; later < m_lines.size(); ++later) {
            const std::optional<QStringView> laterName = groupOf(m_lines[later]);
            if (laterName && laterName->compare(group, Qt::CaseInsensitive) == 0)
                return;
        }
        // Blank lines after it go with it; one before it, that kept it apart, goes too.
        if (header > 0 && m_lines[header - 1].trimmed().isEmpty() && end == m_lines.size())
            --header;
        m_lines.remove(header, end - header);
        return;
    }
}
