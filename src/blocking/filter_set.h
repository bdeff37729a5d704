#ifndef REELHOP_BLOCKING_FILTER_SET_H
#define REELHOP_BLOCKING_FILTER_SET_H

#include "filter_rule.h"

#include <QHash>
#include <QString>
#include <QUrl>
#include <QVarLengthArray>
#include <vector>

namespace Blocking {

// A request as the matcher sees it: the address as sent, and the page that asks for it.
struct Request
{
    QByteArray address; // percent-encoded, as sent
    QByteArray lowerAddress;
    QByteArray host;     // lower case
    QByteArray pageHost; // lower case; empty when no page asks
    RequestType type = RequestType::Other;
    bool thirdParty = true;
    qsizetype hostStart = 0;

    // Without a page the request counts as coming from another site.
    static Request make(const QUrl &address, const QUrl &page, RequestType type);
};

// The registrable domain of a host, as near as the program can tell without the public suffix
// list: two labels, three under a country's "co.uk" and the like; an address by number whole.
QByteArrayView siteOf(QByteArrayView host);

struct Decision
{
    enum class Outcome { NoRule, Blocked, Allowed };
    Outcome outcome = Outcome::NoRule;
    QByteArray rule; // the rule's line as written
    QString list;    // the name of the list it came from

    bool blocked() const { return outcome == Outcome::Blocked; }
};

// What one list held.
struct ListCount
{
    int rules = 0;
    int skipped = 0;
};

// All rules of the lists in use, indexed by the tokens of their address patterns, so a request is
// decided by looking up the tokens of its address, never by scanning the rules.
class FilterSet
{
public:
    // Adds the rules of one list's text; a line the program cannot use is skipped and counted,
    // never stops the list.
    ListCount addList(const QString &name, QByteArrayView text);

    Decision decide(const Request &request) const;

    // The style sheet that hides what the element-hiding rules name on a page, or nothing when
    // the page is excused from hiding.
    QByteArray hidingStyleSheet(const QUrl &page) const;

    int ruleCount() const { return int(m_network.size() + m_hiding.size()); }

private:
    struct Entry
    {
        NetworkRule rule;
        QByteArray text;
        int list = 0;
    };
    using Bucket = std::vector<int>;
    // Rules by the token of their pattern they are filed under.
    using Index = QHash<quint32, Bucket>;

    void index(Entry entry, Index &index);
    // The first rule of the index that matches; an important one before any other.
    const Entry *firstMatch(const Index &index, const Request &request,
                            const QVarLengthArray<quint32, 64> &tokens) const;
    std::uint8_t pageExcuses(const QUrl &page) const;

    std::vector<Entry> m_network;
    Index m_blocks;
    Index m_exceptions;
    QStringList m_lists;

    std::vector<HidingRule> m_hiding;
    // Selectors for every site, and those that some site is excused from or excludes.
    std::vector<int> m_genericHiding;
    // By each host a rule names.
    QHash<QByteArray, std::vector<int>> m_specificHiding;
    // "#@#" rules by selector.
    QHash<QByteArray, std::vector<int>> m_hidingExceptions;
};

} // namespace Blocking

#endif
