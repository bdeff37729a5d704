#include "hiding_names.h"

#include <algorithm>

void HidingNames::setLookUp(std::function<QByteArray(const QStringList &keys)> lookUp)
{
    m_lookUp = std::move(lookUp);
    m_asked = 0;
}

QString HidingNames::rulesFor(const QStringList &keys)
{
    if (!m_lookUp)
        return {};
    QStringList asked = keys.first(std::min<qsizetype>(
        {keys.size(), MostKeysAQuestion, std::max<qsizetype>(MostKeysAPage - m_asked, 0)}));
    m_asked += asked.size();
    asked.removeIf([](const QString &key) { return key.size() > LongestKey; });
    return QString::fromUtf8(m_lookUp(asked));
}
