#include "blocking/filter_set.h"
#include "files/data_file.h"

#include <cstdlib>
#include <regex>

using namespace Qt::StringLiterals;
using namespace Blocking;

namespace {

// A rule's pattern as a regular expression, the way filter lists define it, sharing no code with
// the matcher: '*' is anything, '^' a separator or (closing the pattern) the address's end.
std::regex expressionOf(const NetworkRule &rule)
{
    std::string expression;
    for (qsizetype index = 0; index < rule.pattern.size(); ++index) {
        const char c = rule.pattern[index];
        if (c == '*')
            expression += ".*";
        else if (c == '^')
            expression +=
                index + 1 == rule.pattern.size() ? "(?:[^A-Za-z0-9_.%-]|$)" : "[^A-Za-z0-9_.%-]";
        else if (std::strchr("\\^$.|?*+()[]{}/", c))
            expression += std::string("\\") + c;
        else if (quint8(c) < 0x20 || quint8(c) >= 0x7f)
            expression +=
                "\\x" + QByteArray::number(quint8(c), 16).rightJustified(2, '0').toStdString();
        else
            expression += c;
    }
    if (rule.anchoredEnd)
        expression += '$';
    return std::regex(expression, std::regex::ECMAScript | std::regex::nosubs);
}

bool oracleMatches(const NetworkRule &rule, const std::regex &expression, const Request &request)
{
    if (!appliesTo(rule, request))
        return false;
    const std::string address =
        (rule.matchCase ? request.address : request.lowerAddress).toStdString();
    const auto from = [&](size_t at) {
        return std::regex_search(address.begin() + qsizetype(at), address.end(), expression,
                                 std::regex_constants::match_continuous);
    };
    switch (rule.start) {
    case NetworkRule::Start::AddressStart:
        return from(0);
    case NetworkRule::Start::Domain:
        for (qsizetype at = request.hostStart; at < request.hostStart + request.host.size(); ++at)
            if ((at == request.hostStart || address[size_t(at) - 1] == '.') && from(size_t(at)))
                return true;
        return false;
    case NetworkRule::Start::Anywhere:
        return std::regex_search(address, expression);
    }
    return false;
}

struct OracleRule
{
    NetworkRule rule;
    std::regex expression;
};

// The decision rule by rule: a match blocks unless an exception matches, and an important
// match blocks whatever the exceptions say.
Decision::Outcome oracleDecision(const std::vector<OracleRule> &rules, const Request &request)
{
    bool blocked = false;
    bool excused = false;
    for (const OracleRule &candidate : rules) {
        if (!oracleMatches(candidate.rule, candidate.expression, request))
            continue;
        if (!candidate.rule.exception && candidate.rule.important)
            return Decision::Outcome::Blocked;
        (candidate.rule.exception ? excused : blocked) = true;
    }
    return !blocked  ? Decision::Outcome::NoRule
           : excused ? Decision::Outcome::Allowed
                     : Decision::Outcome::Blocked;
}

// An address that holds what a pattern names: '*' and '^' become ordinary characters.
QByteArray addressFor(QByteArrayView pattern)
{
    QByteArray address = "https://ads.example/" + pattern.toByteArray();
    address.replace('*', "x").replace('^', "/").replace('|', "");
    return address;
}

} // namespace

// Any bytes read as a filter list give rules that decide every request without a fault, each
// line counts once (as a rule, as skipped or as no rule), and every decision is the one the
// rules give when tried one by one. Addresses many times longer than the list are decided too.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    FilterSet filters;
    const ListCount count = filters.addList(u"fuzz"_s, bytes);
    if (count.rules < 0 || count.skipped < 0 ||
        count.rules + count.skipped > bytes.count('\n') + bytes.count('\r') + 1)
        std::abort();

    std::vector<OracleRule> rules;
    QList<QByteArray> addresses{"https://ads.example/x/ad.js?a=1&b=2", "http://a.b.example:8080/",
                                "https://www.videos.example/results?q=a"};
    try {
        for (QByteArrayView line : DataFile::lines(DataFile::withoutByteOrderMark(bytes))) {
            const ParsedLine parsed = parseLine(line);
            if (const auto *rule = std::get_if<NetworkRule>(&parsed)) {
                if (rules.size() < 25) // the rules the decisions are checked against
                    rules.push_back({*rule, expressionOf(*rule)});
                if (addresses.size() < 8)
                    addresses.append(addressFor(rule->pattern));
            }
        }
    } catch (const std::regex_error &) {
        return 0; // beyond what the standard library's expressions take
    }
    const QUrl page(u"https://www.videos.example/results?q=a"_s);
    // Longer addresses: each in turn followed by the paths of all, so that a token stands in
    // many places, in the same surroundings and in others.
    const auto longer = [&](const QByteArray &text, qsizetype size) {
        QByteArray address = text;
        for (qsizetype index = 0; address.size() < size; ++index)
            address += addresses[index % addresses.size()].mid(8);
        return address;
    };
    for (const QByteArray &text : addresses) {
        for (const QByteArray &tried : {text, longer(text, 320)}) {
            for (RequestType type :
                 {RequestType::Script, RequestType::Image, RequestType::Document}) {
                const Request request = Request::make(QUrl::fromEncoded(tried), page, type);
                if (rules.size() <= 24 &&
                    filters.decide(request).outcome != oracleDecision(rules, request))
                    std::abort();
            }
        }
    }
    filters.decide(Request::make(QUrl::fromEncoded(longer(addresses.back(), 16 * 1024)), page,
                                 RequestType::Image));
    filters.hidingStyleSheet(page);
    return 0;
}
