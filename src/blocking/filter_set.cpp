#include "filter_set.h"

#include "files/data_file.h"
#include "pattern_match.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>

namespace Blocking {

namespace {

// Tokens that most addresses hold: a rule filed under one would be tried for nearly every request.
bool isCommonToken(QByteArrayView token)
{
    static constexpr std::array<std::string_view, 24> Common{
        "http", "https", "www",    "com",    "net",    "org", "js",   "css",
        "html", "php",   "png",    "jpg",    "gif",    "svg", "webp", "json",
        "cdn",  "img",   "static", "images", "assets", "api", "v1",   "min"};
    for (std::string_view common : Common)
        if (token == QByteArrayView(common.data(), qsizetype(common.size())))
            return true;
    return false;
}

// A token of a rule's pattern that any address it matches must hold whole: bounded on both sides
// by a character that is no token's, or by an anchor.
struct PatternToken
{
    quint32 hash;
    bool common;
    qsizetype at; // where it stands in the pattern; -1 when a '*' comes before it
};

std::vector<PatternToken> patternTokens(const NetworkRule &rule)
{
    std::vector<PatternToken> tokens;
    const QByteArray lower = rule.pattern.toLower();
    forEachToken(lower, [&](qsizetype at, qsizetype end, quint32 hash) {
        const bool leftBound =
            at > 0 ? lower[at - 1] != '*' : rule.start != NetworkRule::Start::Anywhere;
        const bool rightBound = end < lower.size() ? lower[end] != '*' : rule.anchoredEnd;
        if (leftBound && rightBound) {
            const QByteArrayView token = QByteArrayView(lower).sliced(at, end - at);
            const bool inFirstPiece = !lower.first(at).contains('*');
            tokens.push_back({hash, isCommonToken(token), inFirstPiece ? at : -1});
        }
    });
    return tokens;
}

} // namespace

ListCount FilterSet::addList(const QString &name, QByteArrayView text)
{
    const int list = int(m_lists.size());
    m_lists.append(name);
    ListCount count;
    for (QByteArrayView line : DataFile::lines(DataFile::withoutByteOrderMark(text))) {
        ParsedLine parsed = parseLine(line);
        if (std::holds_alternative<SkippedRule>(parsed)) {
            ++count.skipped;
        } else if (auto *rule = std::get_if<NetworkRule>(&parsed)) {
            ++count.rules;
            const bool exception = rule->exception;
            index({std::move(*rule), line.trimmed().toByteArray(), list},
                  exception ? m_exceptions : m_blocks);
        } else if (auto *hiding = std::get_if<HidingRule>(&parsed)) {
            ++count.rules;
            const int at = int(m_hiding.size());
            if (hiding->exception)
                m_hidingExceptions[hiding->selector].push_back(at);
            else if (hiding->domains.included.isEmpty())
                m_genericHiding.push_back(at);
            else
                for (const QByteArray &host : hiding->domains.included)
                    m_specificHiding[host].push_back(at);
            m_hiding.push_back(std::move(*hiding));
        }
    }
    return count;
}

void FilterSet::index(Entry entry, Index &index)
{
    // The rule goes under its token that the fewest rules share, and not under one that most
    // addresses hold, so that no request has many rules to try.
    PatternToken chosen{NoToken, false, -1};
    qsizetype fewest = std::numeric_limits<qsizetype>::max();
    for (const PatternToken &token : patternTokens(entry.rule)) {
        const auto bucket = index.constFind(token.hash);
        const qsizetype size = (bucket == index.cend() ? 0 : qsizetype(bucket->rules.size())) +
                               (token.common ? 100000 : 0);
        if (size < fewest) {
            fewest = size;
            chosen = token;
        }
    }
    Bucket &bucket = index[chosen.hash];
    if (chosen.hash != NoToken) {
        m_known.add(chosen.hash);
        if (chosen.at >= 0) {
            const Reach reach = reachAround(entry.rule, chosen.at);
            bucket.reach.before = std::max(bucket.reach.before, reach.before);
            bucket.reach.after = std::max(bucket.reach.after, reach.after);
        }
    }
    entry.tokenAt = chosen.at;
    bucket.rules.push_back(int(m_network.size()));
    m_network.push_back(std::move(entry));
}

template <typename Wanted, typename Found>
void FilterSet::forEachMatch(const Index &index, const Request &request, const TokenPlaces &places,
                             Wanted wanted, Found found) const
{
    const auto tryRules = [&](const Bucket &bucket, std::span<const qsizetype> at) {
        for (int rule : bucket.rules) {
            const Entry &entry = m_network[size_t(rule)];
            if (wanted(entry) &&
                (entry.tokenAt < 0 ? patternMatches(entry.rule, request)
                                   : patternMatchesAt(entry.rule, request, entry.tokenAt, at)) &&
                found(entry))
                return true;
        }
        return false;
    };
    const auto tokenless = index.constFind(NoToken);
    if (tokenless != index.cend() && tryRules(*tokenless, {}))
        return;
    // Each token once; a surrounding the address repeats is looked at once.
    const qsizetype hostEnd = request.hostStart + request.host.size();
    for (const TokenPlaces::Token &token : places.tokens()) {
        const auto bucket = index.constFind(token.hash);
        if (bucket == index.cend())
            continue;
        const auto distinct =
            distinctSurroundings(places.places(token), request.address, bucket->reach.before,
                                 bucket->reach.after, hostEnd);
        if (tryRules(*bucket, distinct))
            return;
    }
}

const FilterSet::Entry *FilterSet::firstMatch(const Index &index, const Request &request,
                                              const TokenPlaces &places) const
{
    // The first rule that matches, unless an important one does.
    const Entry *first = nullptr;
    forEachMatch(
        index, request, places,
        [&](const Entry &entry) {
            return (!first || entry.rule.important) && appliesTo(entry.rule, request);
        },
        [&](const Entry &entry) {
            first = &entry;
            return entry.rule.important;
        });
    return first;
}

Decision FilterSet::decide(const Request &request) const
{
    const TokenPlaces places(request.lowerAddress, m_known);
    const Entry *block = firstMatch(m_blocks, request, places);
    if (!block)
        return {};
    const Entry *excuse =
        block->rule.important ? nullptr : firstMatch(m_exceptions, request, places);
    if (excuse)
        return {Decision::Outcome::Allowed, excuse->text, m_lists.value(excuse->list)};
    return {Decision::Outcome::Blocked, block->text, m_lists.value(block->list)};
}

std::uint8_t FilterSet::pageExcuses(const QUrl &page) const
{
    const Request request = Request::make(page, page, RequestType::Document);
    std::uint8_t excuses = NetworkRule::NoPage;
    forEachMatch(
        m_exceptions, request, TokenPlaces(request.lowerAddress, m_known),
        [&](const Entry &entry) {
            // Asked of the page, whatever the rule's own types.
            return entry.rule.excuses != NetworkRule::NoPage &&
                   appliesTo(entry.rule, request, TypesAsked::Any);
        },
        [&](const Entry &entry) {
            excuses |= entry.rule.excuses;
            return false;
        });
    return excuses;
}

QByteArray FilterSet::hidingStyleSheet(const QUrl &page) const
{
    const std::uint8_t excuses = pageExcuses(page);
    if (excuses & (NetworkRule::WholePage | NetworkRule::ElementHiding))
        return {};
    const QByteArray host = page.host(QUrl::FullyEncoded).toLower().toUtf8();
    std::vector<int> chosen;
    // The page's host and every domain above it.
    for (qsizetype dot = -1;;) {
        const QByteArray domain = host.mid(dot + 1);
        for (int at : m_specificHiding.value(domain))
            if (m_hiding[size_t(at)].domains.covers(host))
                chosen.push_back(at);
        dot = host.indexOf('.', dot + 1);
        if (dot < 0)
            break;
    }
    if (!(excuses & NetworkRule::GenericHiding))
        for (int at : m_genericHiding)
            if (m_hiding[size_t(at)].domains.covers(host))
                chosen.push_back(at);

    std::sort(chosen.begin(), chosen.end());
    chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
    QByteArray css;
    for (int at : chosen) {
        const HidingRule &rule = m_hiding[size_t(at)];
        bool excused = false;
        for (int exception : m_hidingExceptions.value(rule.selector))
            excused = excused || m_hiding[size_t(exception)].domains.covers(host);
        if (!excused)
            css += rule.selector + "{display:none!important}\n";
    }
    return css;
}

} // namespace Blocking
