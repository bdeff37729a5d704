#ifndef REELHOP_BROWSING_HIDING_NAMES_H
#define REELHOP_BROWSING_HIDING_NAMES_H

#include <QByteArray>
#include <QObject>
#include <QStringList>
#include <functional>

// What a page's hiding script asks of the program over the page's channel, which only the
// program's own world sees: the rules for the ids and classes the page turned out to hold. A
// page can make names without end, so what one question and one page may ask is bounded.
class HidingNames final : public QObject
{
    Q_OBJECT

public:
    static constexpr int MostKeysAQuestion = 1000;
    static constexpr int MostKeysAPage = 50000;
    static constexpr int LongestKey = 256;

    using QObject::QObject;

    // The rules of the page now opening; none answers nothing.
    void setLookUp(std::function<QByteArray(const QStringList &keys)> lookUp);

    // A style sheet of the rules for the keys ("#ad-top", ".banner"); empty for none.
    Q_INVOKABLE QString rulesFor(const QStringList &keys);

private:
    std::function<QByteArray(const QStringList &)> m_lookUp;
    qsizetype m_asked = 0;
};

#endif
