#ifndef REELHOP_BLOCKING_HIDING_BY_NAME_H
#define REELHOP_BLOCKING_HIDING_BY_NAME_H

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>

namespace Blocking {

// Element-hiding selectors for every site that can match only inside an element of one id or
// class ("#ad-top", ".banner > img"), filed by it: a page is given those of the names it holds,
// not a style sheet of thousands of rules its renderer would keep whole, nor the names.
class HidingByName
{
public:
    // "#ad-top" or ".banner" when the selector begins with that id or class and is no list of
    // selectors; nothing otherwise.
    static QByteArray keyOf(QByteArrayView selector);

    // Files a selector; false when it has no key, so that it goes in every page's sheet instead.
    bool add(const QByteArray &selector);
    bool holds(const QByteArray &selector) const;
    bool isEmpty() const { return m_byKey.isEmpty(); }
    int size() const { return m_size; }

    // The style sheet of the rules filed under the keys a page holds ("#ad-top", ".banner"),
    // those excepted left out.
    QByteArray rulesFor(const QStringList &keys, const QSet<QByteArray> &excepted) const;

private:
    QHash<QByteArray, QList<QByteArray>> m_byKey;
    int m_size = 0;
};

} // namespace Blocking

#endif
