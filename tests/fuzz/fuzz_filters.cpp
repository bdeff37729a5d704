#include "blocking/filter_set.h"
#include "blocking/list_conditions.h"
#include "files/data_file.h"
#include "filter_oracle.h"

#include <cstdlib>

using namespace Qt::StringLiterals;
using namespace Blocking;

namespace {

// A rule as its list wrote it, options lower-cased, without any "badfilter" among them.
QByteArray withoutBadfilter(QByteArrayView line)
{
    const qsizetype dollar = line.lastIndexOf('$');
    if (dollar < 0)
        return line.toByteArray();
    QByteArrayList kept;
    for (const QByteArray &option : line.sliced(dollar + 1).toByteArray().split(','))
        if (option.trimmed().toLower() != "badfilter")
            kept.append(option);
    return line.first(dollar).toByteArray() + (kept.isEmpty() ? QByteArray() : '$' + kept.join(','));
}

struct WrittenRule
{
    NetworkRule rule;
    QByteArray text;
};

// The decision rule by rule: a match blocks unless an exception matches, and an important
// match blocks whatever the exceptions say. Rules that only name a stand-in or take parameters
// off decide nothing; a "badfilter" rule takes away the rule it names.
Decision::Outcome oracleDecision(const std::vector<WrittenRule> &written, const Request &request)
{
    QSet<QByteArray> cancelled;
    for (const WrittenRule &each : written)
        if (each.rule.badfilter)
            cancelled.insert(withoutBadfilter(each.text));
    bool blocked = false;
    bool excused = false;
    for (const auto &[rule, text] : written) {
        if (rule.badfilter || cancelled.contains(text) ||
            rule.action != NetworkRule::Action::Block || !oracleMatches(rule, request))
            continue;
        if (!rule.exception && rule.important)
            return Decision::Outcome::Blocked;
        (rule.exception ? excused : blocked) = true;
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

    std::vector<WrittenRule> rules;
    QList<QByteArray> addresses{"https://ads.example/x/ad.js?a=1&b=2", "http://a.b.example:8080/",
                                "https://www.videos.example/results?q=a"};
    ListConditions conditions;
    for (QByteArrayView line : DataFile::lines(DataFile::withoutByteOrderMark(bytes))) {
        if (!conditions.admits(line))
            continue;
        const ParsedLine parsed = parseLine(line);
        if (const auto *rule = std::get_if<NetworkRule>(&parsed)) {
            if (rules.size() < 25) // the rules the decisions are checked against
                rules.push_back({*rule, line.trimmed().toByteArray()});
            if (addresses.size() < 8)
                addresses.append(addressFor(rule->pattern));
        }
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
        // And its end repeated close together, so that a token's surroundings overlap.
        for (const QByteArray &tried :
             {text, longer(text, 320), text + text.right(5).repeated(40)}) {
            for (RequestType type :
                 {RequestType::Script, RequestType::Image, RequestType::Document}) {
                const Request request = Request::make(QUrl::fromEncoded(tried), page, type);
                if (rules.size() <= 24 &&
                    filters.decide(request).outcome != oracleDecision(rules, request))
                    std::abort();
            }
        }
    }
    // A long query is taken as Qt keeps it, and must still be the address as Qt encodes it.
    const QUrl longAddress = QUrl::fromEncoded(longer(addresses.back(), 16 * 1024));
    const Request longRequest = Request::make(longAddress, page, RequestType::Image);
    if (longRequest.address != longAddress.toEncoded())
        std::abort();
    filters.decide(longRequest);
    if (const PageHiding hiding = filters.hiding(page); hiding.byName)
        hiding.byName(QString::fromLatin1(addresses.back()).split(u' '));
    return 0;
}
