#ifndef REELHOP_BLOCKING_FILTER_RULE_H
#define REELHOP_BLOCKING_FILTER_RULE_H

#include <QByteArray>
#include <QList>
#include <cstdint>
#include <memory>
#include <optional>
#include <variant>

// One line of an Adblock Plus / uBlock filter list or of a hosts file, parsed once into a plain
// value; the matcher never reads a rule's text again.
namespace Blocking {

// What a request fetches, as filter lists name it; a rule's types are a mask of these.
enum class RequestType : std::uint16_t {
    Script = 1 << 0,
    Image = 1 << 1,
    Stylesheet = 1 << 2,
    Object = 1 << 3,
    XmlHttpRequest = 1 << 4,
    Subdocument = 1 << 5,
    Media = 1 << 6,
    Font = 1 << 7,
    WebSocket = 1 << 8,
    Ping = 1 << 9,
    Other = 1 << 10,
    Document = 1 << 11,
    // A window a page opens; only rules that name it apply.
    Popup = 1 << 12,
};
using TypeMask = std::uint16_t;
inline constexpr TypeMask AllTypes = 0x0fff;

// The request type named as lists name it ("script", "xhr", "doc", ...); nothing when unknown.
std::optional<RequestType> requestTypeNamed(QByteArrayView name);

// The page's site against the request's; the strict kinds compare whole hosts.
enum class Party : std::uint8_t { Any, First, Third, SameHost, OtherHost };

// Which hosts a rule is for: a host counts with its subdomains; an exclusion beats an inclusion.
struct DomainScope
{
    QList<QByteArray> included;
    QList<QByteArray> excluded;

    bool isEmpty() const { return included.isEmpty() && excluded.isEmpty(); }
    // Whether some of them name a site under every public suffix ("example.*").
    bool namesEverySuffix() const { return everySuffix; }
    bool everySuffix = false;
    bool covers(const QByteArray &host) const;
    // The same, given the host without its public suffix.
    bool covers(const QByteArray &host, QByteArrayView withoutSuffix) const;
    bool operator==(const DomainScope &) const = default;
};

struct NetworkRule
{
    enum class Start : std::uint8_t { Anywhere, AddressStart, Domain };
    // What a rule does to a request it matches: blocks it, names the resource that stands in for
    // it when another rule blocks it ("redirect-rule="), or takes parameters off its query.
    enum class Action : std::uint8_t { Block, Redirect, RemoveParameter };
    // What an exception excuses beyond the request itself: a whole page and everything in it,
    // or the page's element hiding (all of it, or the rules that name no site).
    enum Excuses : std::uint8_t { NoPage = 0, WholePage = 1, ElementHiding = 2, GenericHiding = 4 };

    QByteArray pattern; // lower case unless matchCase; '*' and '^' keep their meaning
    Start start = Start::Anywhere;
    bool anchoredEnd = false;
    bool exception = false;
    bool important = false;
    bool matchCase = false;
    Party party = Party::Any;
    TypeMask types = AllTypes;
    std::uint8_t excuses = NoPage;
    Action action = Action::Block;
    // Cancels the rule written the same without it, in any list.
    bool badfilter = false;
    DomainScope domains; // of the page that asks

    // What few rules give, kept apart so that the many that give none stay small.
    struct Rare
    {
        DomainScope requestDomains; // of the request's host ("to=", "denyallow=")
        // The resource a blocked request is answered with ("redirect=", "redirect-rule="), or
        // the query parameter taken off (empty: all of them).
        QByteArray value;

        bool operator==(const Rare &) const = default;
    };
    std::shared_ptr<const Rare> rare;

    const DomainScope &requestDomains() const;
    const QByteArray &value() const;
    Rare &rareToChange();

    bool operator==(const NetworkRule &other) const;
};

struct HidingRule
{
    QByteArray selector;
    DomainScope domains;
    bool exception = false;

    bool operator==(const HidingRule &) const = default;
};

// "example.com##+js(json-prune, ads)": a function of the package's run in the site's pages
// with those arguments; "example.com#@#+js()" excepts every one there.
struct ScriptletRule
{
    QByteArray call; // between the brackets
    DomainScope domains;
    bool exception = false;

    bool operator==(const ScriptletRule &) const = default;
};

// A line that holds no rule: a comment, a blank or a list's header.
struct NoRule
{
    bool operator==(const NoRule &) const = default;
};

// A rule of a kind the program does not apply (procedural or HTML rules, options it does not
// know): skipped whole, never half-applied, and counted by what it was skipped for.
struct SkippedRule
{
    QByteArray reason; // "$csp", "+js(...)", "regular expression", ...

    bool operator==(const SkippedRule &) const = default;
};

using ParsedLine = std::variant<NoRule, SkippedRule, NetworkRule, HidingRule, ScriptletRule>;

// A line without its line end. Lines of a hosts file ("0.0.0.0 host") become host rules.
ParsedLine parseLine(QByteArrayView line);

} // namespace Blocking

#endif
