#include "filter_rule.h"

#include <QByteArrayList>
#include <algorithm>
#include <array>
#include <utility>

namespace Blocking {

namespace {

// Longer lines are no filter anyone wrote by hand; skipping them keeps a damaged list cheap.
constexpr qsizetype LongestRule = 8192;

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

// "a.com|~b.a.com" (separated by '|' in options, by ',' before "##"); nothing for a list naming
// what the program cannot match, such as "google.*" or a regular expression.
std::optional<DomainScope> parseDomains(QByteArrayView text, char separator)
{
    DomainScope scope;
    for (QByteArrayView domain : QByteArray(text.toByteArray().toLower()).split(separator)) {
        const bool excluded = domain.startsWith('~');
        if (excluded)
            domain = domain.sliced(1);
        if (!isHostName(domain))
            return std::nullopt;
        (excluded ? scope.excluded : scope.included).append(domain.toByteArray());
    }
    return scope;
}

// The first-party test in the options: "3p" and "~1p" ask for third-party requests.
std::optional<Party> partyNamed(QByteArrayView name, bool negated)
{
    static constexpr std::array<std::pair<std::string_view, bool>, 4> Names{{
        {"third-party", true},
        {"3p", true},
        {"first-party", false},
        {"1p", false},
    }};
    for (const auto &[text, third] : Names)
        if (name == QByteArrayView(text.data(), qsizetype(text.size())))
            return third != negated ? Party::Third : Party::First;
    return std::nullopt;
}

// Applies one option to the rule; false for an option the program does not apply.
bool applyOption(QByteArrayView option, NetworkRule &rule, TypeMask &wanted, TypeMask &unwanted)
{
    if (option.startsWith("domain=") || option.startsWith("from=")) {
        const std::optional<DomainScope> scope =
            parseDomains(option.sliced(option.indexOf('=') + 1), '|');
        if (!scope)
            return false;
        rule.domains = *scope;
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
        wanted |= AllTypes;
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
            // Option names ignore case; domain names too.
            if (!applyOption(trimmed.toLower(), rule, wanted, unwanted))
                return SkippedRule{};
        }
    }
    // Only exceptions excuse a page's hiding; a blocking rule saying so is not understood.
    if (rule.excuses & (NetworkRule::ElementHiding | NetworkRule::GenericHiding) && !rule.exception)
        return SkippedRule{};
    if (wanted == 0 && rule.excuses != NetworkRule::NoPage)
        rule.types = 0; // "$elemhide" alone excuses no request
    else if (wanted != 0)
        rule.types = wanted & ~unwanted;
    else if (unwanted != 0)
        rule.types = AllTypes & ~TypeMask(RequestType::Document) & ~unwanted;
    if (rule.types == 0 && rule.excuses == NetworkRule::NoPage)
        return SkippedRule{};

    if (pattern.size() > 2 && pattern.startsWith('/') && pattern.endsWith('/')) {
        // A regular expression can be made to backtrack for ever; only plain paths written
        // between slashes are taken, as the text they are.
        if (hasRegularExpressionSyntax(pattern.sliced(1, pattern.size() - 2)))
            return SkippedRule{};
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
        return SkippedRule{};
    rule.pattern = rule.matchCase ? pattern.toByteArray() : pattern.toByteArray().toLower();
    return rule;
}

// uBlock's procedural operators and other extended syntax, which a style sheet cannot carry.
bool isPlainSelector(QByteArrayView selector)
{
    static constexpr std::array<std::string_view, 19> Extended{
        ":has-text(",     ":-abp-",   ":xpath(",       ":upward(",
        ":remove(",       ":style(",  ":matches-",     ":min-text-length(",
        ":watch-attr(",   ":others(", ":if(",          ":if-not(",
        ":nth-ancestor(", ":spath(",  ":remove-attr(", ":remove-class(",
        ":has(",          "/*",       ":contains("};
    if (selector.isEmpty() || selector.startsWith('^') || selector.startsWith("+js(") ||
        selector.contains('{') || selector.contains('}'))
        return false;
    for (std::string_view extended : Extended)
        if (selector.contains(QByteArrayView(extended.data(), qsizetype(extended.size()))))
            return false;
    return true;
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
        return SkippedRule{};
    } else {
        return std::nullopt;
    }
    selector = selector.trimmed();
    if (!isPlainSelector(selector))
        return SkippedRule{};
    if (!domains.isEmpty()) {
        std::optional<DomainScope> scope = parseDomains(domains, ',');
        if (!scope)
            return SkippedRule{};
        rule.domains = std::move(*scope);
    }
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
    static constexpr std::array<std::pair<std::string_view, RequestType>, 17> Names{{
        {"script", RequestType::Script},
        {"image", RequestType::Image},
        {"stylesheet", RequestType::Stylesheet},
        {"css", RequestType::Stylesheet},
        {"object", RequestType::Object},
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
    }};
    for (const auto &[text, type] : Names)
        if (name == QByteArrayView(text.data(), qsizetype(text.size())))
            return type;
    return std::nullopt;
}

bool DomainScope::covers(QByteArrayView host) const
{
    for (const QByteArray &domain : excluded)
        if (endsWithDomain(host, domain))
            return false;
    if (included.isEmpty())
        return true;
    for (const QByteArray &domain : included)
        if (endsWithDomain(host, domain))
            return true;
    return false;
}

ParsedLine parseLine(QByteArrayView line)
{
    const QByteArrayView text = line.trimmed();
    if (text.isEmpty() || text.startsWith('!') || text.startsWith('['))
        return NoRule{};
    if (text.size() > LongestRule)
        return SkippedRule{};
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
