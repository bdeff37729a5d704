#ifndef REELHOP_BLOCKING_FILTER_SET_H
#define REELHOP_BLOCKING_FILTER_SET_H

#include "address_tokens.h"
#include "filter_rule.h"
#include "hiding_by_name.h"
#include "page_hiding.h"
#include "pattern_match.h"
#include "request.h"
#include "scriptlet_library.h"

#include <QHash>
#include <QMap>
#include <QSet>
#include <QString>
#include <QUrl>
#include <memory>
#include <vector>

namespace Blocking {

struct Decision
{
    enum class Outcome { NoRule, Blocked, Allowed };
    Outcome outcome = Outcome::NoRule;
    QByteArray rule; // the rule's line as written
    QString list;    // the name of the list it came from
    // Blocked: the resource that answers the request in its place ("noop.js"), if a rule names one.
    QByteArray resource;
    // Not blocked: the address without the query parameters rules take off, when they take any;
    // `rule` and `list` then name the first such rule.
    QByteArray withoutParameters;

    bool blocked() const { return outcome == Outcome::Blocked; }
};

// What one list held.
struct ListCount
{
    int rules = 0;
    int skipped = 0;
    // The skipped rules by what they were skipped for.
    QMap<QByteArray, int> skippedFor;
};

// All rules of the lists in use, indexed by the tokens of their address patterns, so a request is
// decided by looking up the tokens of its address, never by scanning the rules.
class FilterSet
{
public:
    // The functions in-page rules name; without them such rules are skipped. Before addList.
    void useScriptlets(std::shared_ptr<const ScriptletLibrary> library);
    const ScriptletLibrary *scriptlets() const { return m_library.get(); }

    // Adds the rules of one list's text; a line the program cannot use is skipped and counted,
    // never stops the list. Only a trusted list (the package's own) may call every function.
    ListCount addList(const QString &name, QByteArrayView text, bool trusted = false);

    Decision decide(const Request &request) const;

    // What the element-hiding rules hide on a page; nothing when the page is excused from
    // hiding.
    PageHiding hiding(const QUrl &page) const;

    // The functions the in-page rules run in a frame of the host's, or nothing when the page is
    // excused from them.
    QList<ScriptletLibrary::Call> scriptletsFor(const QUrl &frame) const;

    int ruleCount() const { return int(m_network.size() + m_hiding.size()) + m_hidingByName->size(); }

private:
    struct Entry
    {
        NetworkRule rule;
        QByteArray text;
        int list = 0;
        qsizetype tokenAt = -1; // where its token stands in its pattern, when before any '*'
        bool cancelled = false; // by a "badfilter" rule
    };
    struct Bucket
    {
        std::vector<int> rules;
        Reach reach; // the farthest its rules reach around the token
    };
    // Rules by the token of their pattern they are filed under.
    using Index = QHash<quint32, Bucket>;

    void index(Entry entry, Index &index);
    TokenPlaces placesIn(const Request &request) const;
    // Calls found(entry) for each rule filed under the address's tokens that wanted(entry) lets
    // through and that matches, until found says it has what it needs.
    template <typename Wanted, typename Found>
    void forEachMatch(const Index &index, const Request &request, const TokenPlaces &places,
                      Wanted wanted, Found found) const;
    const Entry *firstMatch(const Index &index, const Request &request,
                            const TokenPlaces &places) const;
    std::uint8_t pageExcuses(const QUrl &page) const;
    // The redirect or removal rules that match, and what their exceptions take back.
    struct Modifiers
    {
        std::vector<const Entry *> applied;
        QList<QByteArray> excused;
    };
    Modifiers modifiers(const Index &index, const Request &request,
                        const TokenPlaces &places) const;
    // The rules that stand in for a blocked request or take parameters off one.
    QByteArray resourceFor(const Entry &block, const Request &request,
                           const TokenPlaces &places) const;
    void takeParametersOff(Decision &decision, const Request &request,
                           const TokenPlaces &places) const;
    // Files an in-page rule; what it was skipped for when it was.
    QByteArray addScriptlet(ScriptletRule rule, bool trusted);
    // Marks the rules "badfilter" rules name, from the entry `from` on.
    void cancel(size_t from);

    std::vector<Entry> m_network;
    Index m_blocks;
    Index m_exceptions;
    // "redirect-rule=" rules (and "redirect=" rules again), their exceptions and those of
    // "redirect="; "removeparam=" rules and their exceptions.
    Index m_redirects;
    Index m_removals;
    // The request types their rules apply to: a request of another type has none to try.
    TypeMask m_redirectTypes = 0;
    TypeMask m_removalTypes = 0;
    // The rules "badfilter" rules name, as written without that option.
    QSet<QByteArray> m_cancelled;
    KnownTokens m_known;
    Reach m_farthestReach; // of every rule filed under a token
    QStringList m_lists;

    std::vector<HidingRule> m_hiding;
    // Selectors for every site that every page gets, some sites excluded.
    std::vector<int> m_genericHiding;
    // Those for every site that apply where a page holds the id or class they begin with.
    std::shared_ptr<HidingByName> m_hidingByName = std::make_shared<HidingByName>();
    // By each host a rule names.
    QHash<QByteArray, std::vector<int>> m_specificHiding;
    // "#@#" rules by selector, and by each host they name (those for every site under "").
    QHash<QByteArray, std::vector<int>> m_hidingExceptions;
    QHash<QByteArray, std::vector<int>> m_hidingExceptionsByHost;

    std::shared_ptr<const ScriptletLibrary> m_library;
    struct Scriptlet
    {
        ScriptletLibrary::Call call; // no name: every call ("#@#+js()")
        DomainScope domains;
    };
    std::vector<Scriptlet> m_scriptlets;
    std::vector<int> m_genericScriptlets;
    QHash<QByteArray, std::vector<int>> m_specificScriptlets; // by each host a rule names
    std::vector<Scriptlet> m_scriptletExceptions;
};

} // namespace Blocking

#endif
