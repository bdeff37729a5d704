#include "hiding_by_name.h"

namespace Blocking {

namespace {

bool isNameCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_';
}

// What may follow the first name for the selector to ask for an element of that name: the end,
// more of the same compound, or a combinator.
bool endsName(char c)
{
    return QByteArrayView(" >+~.#[:").contains(c);
}

} // namespace

QByteArray HidingByName::keyOf(QByteArrayView selector)
{
    if (selector.size() < 2 || (selector[0] != '#' && selector[0] != '.') || selector.contains(','))
        return {};
    qsizetype end = 1;
    while (end < selector.size() && isNameCharacter(selector[end]))
        ++end;
    // A name CSS reads as such: not empty, not a number, no escapes.
    const char first = selector[1];
    if (end == 1 || (first >= '0' && first <= '9') ||
        (first == '-' && (end == 2 || (selector[2] >= '0' && selector[2] <= '9'))) ||
        (end < selector.size() && !endsName(selector[end])))
        return {};
    return selector.first(end).toByteArray();
}

bool HidingByName::add(const QByteArray &selector)
{
    const QByteArray key = keyOf(selector);
    if (key.isEmpty())
        return false;
    QList<QByteArray> &selectors = m_byKey[key];
    if (!selectors.contains(selector)) {
        selectors.append(selector);
        ++m_size;
    }
    return true;
}

bool HidingByName::holds(const QByteArray &selector) const
{
    const auto found = m_byKey.constFind(keyOf(selector));
    return found != m_byKey.cend() && found->contains(selector);
}

QByteArray HidingByName::rulesFor(const QStringList &keys, const QSet<QByteArray> &excepted) const
{
    QByteArray css;
    for (const QString &key : keys)
        for (const QByteArray &selector : m_byKey.value(key.toUtf8()))
            if (!excepted.contains(selector))
                css += selector + "{display:none!important}\n";
    return css;
}

} // namespace Blocking
