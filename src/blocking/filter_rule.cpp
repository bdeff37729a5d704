#include "filter_rule.h"

#include "public_suffix.h"

#include <QByteArrayList>
#include <algorithm>
#include <array>
#include <tuple>
#include <utility>

namespace Blocking {

namespace {

// The lists' longest rules name thousands of sites; anything longer is damage, skipped cheaply.
constexpr qsizetype LongestRule = 64 * 1024;

bool isHostCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
}

bool isHostName(QByteArrayView host)
{
    if (host.isEmpty() || host.startsWith('.') || host.endsWith('.'))
        return false;
    for (char c : host)
        if (!isHostCharacter(c))
            return false;
    return true;
}

bool endsWithDomain(QByteArrayView host, QByteArrayView domain)
{
    return host.endsWith(domain) &&
           (host.size() == domain.size() || host[host.size() - domain.size() - 1] == '.');
}

// "example.*" names the site under every public suffix: example.com, www.example.co.uk.
bool coversDomain(QByteArrayView host, QByteArrayView withoutSuffix, QByteArrayView domain)
{
    if (!domain.endsWith(".*"))
        return endsWithDomain(host, domain);
    return !withoutSuffix.isEmpty() && endsWithDomain(withoutSuffix, domain.chopped(2));
}

// "a.com|~b.a.com" (separated by '|' in options, by ',' before "##"); nothing for a list naming
// what the program cannot match, such as "google.*" or a regular expression.
std::optional<DomainScope> parseDomains(QByteArrayView text, char separator)
{
    DomainScope scope;
    for (QByteArrayView domain : QByteArray(text.toByteArray().toLower()).split(separator)) {
        const bool excluded = domain.startsWith('~');
        if (excluded)
            domain = domain.sliced(1);
        if (!isHostName(domain.endsWith(".*") ? domain.chopped(2) : domain))
            return std::nullopt;
        (excluded ? scope.excluded : scope.included).append(domain.toByteArray());
        scope.everySuffix = scope.everySuffix || domain.endsWith(".*");
    }
    return scope;
}

// The first-party test in the options: "3p" and "~1p" ask for third-party requests.
std::optional<Party> partyNamed(QByteArrayView name, bool negated)
{
    static constexpr std::array<std::pair<std::string_view, Party>, 6> Names{{
        {"third-party", Party::Third},
        {"3p", Party::Third},
        {"first-party", Party::First},
        {"1p", Party::First},
        {"strict3p", Party::OtherHost},
        {"strict1p", Party::SameHost},
    }};
    for (const auto &[text, party] : Names)
        if (name == QByteArrayView(text.data(), qsizetype(text.size()))) {
            if (!negated)
                return party;
            switch (party) {
            case Party::Third:
                return Party::First;
            case Party::First:
                return Party::Third;
            case Party::OtherHost:
                return Party::SameHost;
            default:
                return Party::OtherHost;
            }
        }
    return std::nullopt;
}

// "noop.js:5": the number ranks the redirects of one request, and the program takes the first.
QByteArray withoutRank(QByteArrayView resource)
{
    const qsizetype colon = resource.lastIndexOf(':');
    bool number = false;
    if (colon >= 0)
        (void)resource.sliced(colon + 1).toInt(&number);
    return (number ? resource.first(colon) : resource).toByteArray();
}

// A query parameter's name as "removeparam=" gives it; a pattern of names is not taken.
bool isParameterName(QByteArrayView name)
{
    return !name.startsWith('/') && !name.startsWith('~') && !name.contains('|');
}

// Applies one option, lower case but for its value, to the rule; false for an option the
// program does not apply.
bool applyOption(QByteArrayView option, QByteArrayView value, NetworkRule &rule, TypeMask &wanted,
                 TypeMask &unwanted)
{
    const qsizetype equals = option.indexOf('=');
    const QByteArrayView key = equals < 0 ? option : option.first(equals);
    if (key == "domain" || key == "from" || key == "to" || key == "denyallow") {
        std::optional<DomainScope> scope = parseDomains(option.sliced(equals + 1), '|');
        if (!scope || (key == "denyallow" && !scope->excluded.isEmpty()))
            return false;
        if (key == "denyallow")
            std::swap(scope->included, scope->excluded);
        (key == "domain" || key == "from" ? rule.domains : rule.rareToChange().requestDomains) =
            *scope;
        return true;
    }
    if (key == "redirect" || key == "redirect-rule" || key == "removeparam") {
        if (key == "removeparam" && !isParameterName(value))
            return false;
        // An exception may name no resource: it then excuses them all.
        if (key != "removeparam" && value.isEmpty() && !rule.exception)
            return false;
        rule.rareToChange().value = key == "removeparam" ? value.toByteArray() : withoutRank(value);
        // An exception to "redirect=" takes back the resource, never the block.
        if (key != "redirect" || rule.exception)
            rule.action = key == "removeparam" ? NetworkRule::Action::RemoveParameter
                                               : NetworkRule::Action::Redirect;
        return true;
    }
    if (option == "badfilter") {
        rule.badfilter = true;
        return true;
    }
    const bool negated = option.startsWith('~');
    const QByteArrayView name = negated ? option.sliced(1) : option;
    if (const std::optional<Party> party = partyNamed(name, negated)) {
        rule.party = *party;
        return true;
    }
    if (negated) {
        const std::optional<RequestType> type = requestTypeNamed(name);
        if (type)
            unwanted |= TypeMask(*type);
        return type.has_value();
    }
    if (name == "match-case") {
        rule.matchCase = true;
    } else if (name == "important") {
        rule.important = true;
    } else if (name == "all") {
        wanted |= AllTypes | TypeMask(RequestType::Popup);
    } else if (name == "document" || name == "doc") {
        wanted |= TypeMask(RequestType::Document);
        rule.excuses |= NetworkRule::WholePage;
    } else if (name == "elemhide" || name == "ehide") {
        rule.excuses |= NetworkRule::ElementHiding;
    } else if (name == "generichide" || name == "ghide") {
        rule.excuses |= NetworkRule::GenericHiding;
    } else if (const std::optional<RequestType> type = requestTypeNamed(name)) {
        wanted |= TypeMask(*type);
    } else {
        return false;
    }
    return true;
}

bool hasRegularExpressionSyntax(QByteArrayView text)
{
    for (char c : text)
        if (QByteArrayView("\\^$.|?*+(){}[]").contains(c))
            return true;
    return false;
}

ParsedLine parseNetworkRule(QByteArrayView text)
{
    NetworkRule rule;
    rule.exception = text.startsWith("@@");
    if (rule.exception)
        text = text.sliced(2);

    QByteArrayView pattern = text;
    TypeMask wanted = 0;
    TypeMask unwanted = 0;
    const qsizetype optionsAt = text.lastIndexOf('$');
    // A '$' inside a regular expression is no start of options.
    if (optionsAt >= 0 && !(text.startsWith('/') && text.endsWith('/'))) {
        pattern = text.first(optionsAt);
        const QByteArray options = text.sliced(optionsAt + 1).toByteArray();
        for (const QByteArray &option : options.split(',')) {
            const QByteArray trimmed = option.trimmed();
            const qsizetype equals = trimmed.indexOf('=');
            // Option names ignore case, domain names too; a parameter's name does not.
            if (!applyOption(trimmed.toLower(),
                             equals < 0 ? QByteArrayView() : trimmed.sliced(equals + 1), rule,
                             wanted, unwanted)) {
                QByteArray name = (equals < 0 ? trimmed : trimmed.first(equals)).toLower();
                name = name.startsWith('~') ? name.sliced(1) : name;
                // A value that holds a comma leaves pieces no option is named by.
                const bool named =
                    !name.isEmpty() && std::all_of(name.cbegin(), name.cend(), [](char c) {
                        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                               c == '_';
                    });
                return SkippedRule{named ? '$' + name : QByteArray("$ with a comma in its value")};
            }
        }
    }
    // Only exceptions excuse a page's hiding; a blocking rule saying so is not understood.
    if (rule.excuses & (NetworkRule::ElementHiding | NetworkRule::GenericHiding) && !rule.exception)
        return SkippedRule{"$elemhide in a blocking rule"};
    if (wanted == 0 && rule.excuses != NetworkRule::NoPage)
        rule.types = 0; // "$elemhide" alone excuses no request
    else if (wanted != 0)
        rule.types = wanted & ~unwanted;
    else if (unwanted != 0)
        rule.types = AllTypes & ~TypeMask(RequestType::Document) & ~unwanted;
    else if (rule.action == NetworkRule::Action::RemoveParameter)
        // Taken off the pages a user opens, as the lists' own blocker does by default.
        rule.types = TypeMask(RequestType::Document) | TypeMask(RequestType::Subdocument);
    if (rule.types == 0 && rule.excuses == NetworkRule::NoPage)
        return SkippedRule{"no request type"};

    if (pattern.size() > 2 && pattern.startsWith('/') && pattern.endsWith('/')) {
        // A regular expression can be made to backtrack for ever; only plain paths written
        // between slashes are taken, as the text they are.
        if (hasRegularExpressionSyntax(pattern.sliced(1, pattern.size() - 2)))
            return SkippedRule{"regular expression"};
    } else if (pattern.startsWith("||")) {
        rule.start = NetworkRule::Start::Domain;
        pattern = pattern.sliced(2);
    } else if (pattern.startsWith('|')) {
        rule.start = NetworkRule::Start::AddressStart;
        pattern = pattern.sliced(1);
    }
    if (pattern.endsWith('|')) {
        rule.anchoredEnd = true;
        pattern.chop(1);
    }
    // Wildcards at the ends match anything there, as no anchor does.
    while (pattern.startsWith('*')) {
        pattern = pattern.sliced(1);
        if (rule.start == NetworkRule::Start::AddressStart)
            rule.start = NetworkRule::Start::Anywhere;
    }
    while (pattern.endsWith('*')) {
        pattern.chop(1);
        rule.anchoredEnd = false;
    }
    if (rule.start == NetworkRule::Start::Domain && pattern.isEmpty())
        return SkippedRule{"empty domain"};
    rule.pattern = rule.matchCase ? pattern.toByteArray() : pattern.toByteArray().toLower();
    return rule;
}

// Why a selector is no plain one a style sheet can carry (uBlock's procedural operators, in-page
// scripts, HTML filters); nothing when it is.
QByteArray extendedSyntax(QByteArrayView selector)
{
    static constexpr std::array<std::string_view, 19> Extended{
        ":has-text(",     ":-abp-",   ":xpath(",       ":upward(",
        ":remove(",       ":style(",  ":matches-",     ":min-text-length(",
        ":watch-attr(",   ":others(", ":if(",          ":if-not(",
        ":nth-ancestor(", ":spath(",  ":remove-attr(", ":remove-class(",
        ":has(",          "/*",       ":contains("};
    if (selector.startsWith("+js("))
        return "+js()";
    if (selector.startsWith('^'))
        return "##^ (HTML)";
    if (selector.isEmpty() || selector.contains('{') || selector.contains('}'))
        return "a selector with { }";
    for (std::string_view extended : Extended) {
        const QByteArrayView name(extended.data(), qsizetype(extended.size()));
        if (selector.contains(name))
            return name.endsWith('(') ? name.toByteArray() + ')' : name.toByteArray();
    }
    return {};
}

// "hosts##selector" and "hosts#@#selector"; nothing when the line is no element-hiding rule.
std::optional<ParsedLine> parseHidingRule(QByteArrayView text)
{
    const qsizetype at = text.indexOf('#');
    if (at < 0)
        return std::nullopt;
    const QByteArrayView domains = text.first(at);
    const QByteArrayView marker = text.sliced(at);
    for (char c : domains)
        if (!isHostCharacter(c) && c != ',' && c != '~' && c != '*' && !(c >= 'A' && c <= 'Z'))
            return std::nullopt;
    HidingRule rule;
    QByteArrayView selector;
    if (marker.startsWith("##")) {
        selector = marker.sliced(2);
    } else if (marker.startsWith("#@#")) {
        rule.exception = true;
        selector = marker.sliced(3);
    } else if (marker.startsWith("#?#") || marker.startsWith("#@?#") || marker.startsWith("#$#") ||
               marker.startsWith("#@$#") || marker.startsWith("#%#") || marker.startsWith("#@%#")) {
        return SkippedRule{marker.first(marker.indexOf('#', 1) + 1).toByteArray()};
    } else {
        return std::nullopt;
    }
    selector = selector.trimmed();
    const bool scriptlet = selector.startsWith("+js(") && selector.endsWith(')');
    if (QByteArray extended = extendedSyntax(selector); !extended.isEmpty() && !scriptlet)
        return SkippedRule{std::move(extended)};
    if (!domains.isEmpty()) {
        std::optional<DomainScope> scope = parseDomains(domains, ',');
        if (!scope)
            return SkippedRule{"a site named by a pattern"};
        rule.domains = std::move(*scope);
    }
    if (scriptlet)
        return ScriptletRule{selector.sliced(4, selector.size() - 5).trimmed().toByteArray(),
                             std::move(rule.domains), rule.exception};
    rule.selector = selector.toByteArray();
    return rule;
}

// "0.0.0.0 ads.example # comment": requests to that host and its subdomains are blocked.
std::optional<ParsedLine> parseHostsLine(QByteArrayView text)
{
    static constexpr std::array<std::string_view, 4> Sinks{"0.0.0.0", "127.0.0.1", "::1", "::"};
    if (!(text.front() >= '0' && text.front() <= '9') && text.front() != ':')
        return std::nullopt;
    const QList<QByteArray> fields = text.toByteArray().simplified().split(' ');
    if (fields.size() < 2 ||
        std::find(Sinks.begin(), Sinks.end(),
                  std::string_view(fields[0].data(), fields[0].size())) == Sinks.end())
        return std::nullopt;
    const QByteArray host = fields[1].toLower();
    if (!isHostName(host) || !host.contains('.') || host == "0.0.0.0" || host == "127.0.0.1")
        return NoRule{};
    NetworkRule rule;
    rule.start = NetworkRule::Start::Domain;
    rule.pattern = host + '^';
    return rule;
}

} // namespace

std::optional<RequestType> requestTypeNamed(QByteArrayView name)
{
    static constexpr std::array<std::pair<std::string_view, RequestType>, 19> Names{{
        {"script", RequestType::Script},
        {"image", RequestType::Image},
        {"stylesheet", RequestType::Stylesheet},
        {"css", RequestType::Stylesheet},
        {"object", RequestType::Object},
        {"object-subrequest", RequestType::Object}, // what plug-ins fetched, now gone
        {"xmlhttprequest", RequestType::XmlHttpRequest},
        {"xhr", RequestType::XmlHttpRequest},
        {"subdocument", RequestType::Subdocument},
        {"frame", RequestType::Subdocument},
        {"media", RequestType::Media},
        {"font", RequestType::Font},
        {"websocket", RequestType::WebSocket},
        {"ping", RequestType::Ping},
        {"beacon", RequestType::Ping},
        {"other", RequestType::Other},
        {"document", RequestType::Document},
        {"doc", RequestType::Document},
        {"popup", RequestType::Popup},
    }};
    for (const auto &[text, type] : Names)
        if (name == QByteArrayView(text.data(), qsizetype(text.size())))
            return type;
    return std::nullopt;
}

const DomainScope &NetworkRule::requestDomains() const
{
    static const DomainScope None;
    return rare ? rare->requestDomains : None;
}

const QByteArray &NetworkRule::value() const
{
    static const QByteArray None;
    return rare ? rare->value : None;
}

NetworkRule::Rare &NetworkRule::rareToChange()
{
    // Only while the rule is being parsed, before any copy shares it.
    if (!rare)
        rare = std::make_shared<Rare>();
    return const_cast<Rare &>(*rare);
}

bool NetworkRule::operator==(const NetworkRule &other) const
{
    const auto fields = [](const NetworkRule &rule) {
        return std::tie(rule.pattern, rule.start, rule.anchoredEnd, rule.exception, rule.important,
                        rule.matchCase, rule.party, rule.types, rule.excuses, rule.action,
                        rule.badfilter, rule.domains);
    };
    return fields(*this) == fields(other) && requestDomains() == other.requestDomains() &&
           value() == other.value();
}

bool DomainScope::covers(const QByteArray &host) const
{
    return covers(host, namesEverySuffix() ? withoutPublicSuffix(host) : QByteArrayView());
}

bool DomainScope::covers(const QByteArray &host, QByteArrayView withoutSuffix) const
{
    for (const QByteArray &domain : excluded)
        if (coversDomain(host, withoutSuffix, domain))
            return false;
    if (included.isEmpty())
        return true;
    for (const QByteArray &domain : included)
        if (coversDomain(host, withoutSuffix, domain))
            return true;
    return false;
}

ParsedLine parseLine(QByteArrayView line)
{
    const QByteArrayView text = line.trimmed();
    if (text.isEmpty() || text.startsWith('!') || text.startsWith('['))
        return NoRule{};
    if (text.size() > LongestRule)
        return SkippedRule{"line over 64 KiB"};
    if (std::optional<ParsedLine> hosts = parseHostsLine(text))
        return *hosts;
    if (std::optional<ParsedLine> hiding = parseHidingRule(text))
        return *hiding;
    // A hosts file's comment.
    if (text.startsWith('#'))
        return NoRule{};
    return parseNetworkRule(text);
}

} // namespace Blocking
