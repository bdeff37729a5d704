#include "filter_set.h"

#include "files/data_file.h"

#include <QVarLengthArray>
#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <string_view>

namespace Blocking {

namespace {

// The characters of an address token: a rule's token must be a whole token of the address.
bool isTokenCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '%';
}

quint32 tokenHash(QByteArrayView token)
{
    quint32 hash = 2166136261u; // FNV-1a
    for (char c : token) {
        hash ^= quint8(c);
        hash *= 16777619u;
    }
    return hash | 1u; // 0 is the bucket of rules without a token
}

constexpr quint32 NoToken = 0;

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

// The tokens of a rule's pattern that any address it matches must hold whole: bounded on both
// sides by a character that is no token's, or by an anchor.
struct PatternToken
{
    quint32 hash;
    bool common;
};

// Calls found(start, end) for each maximal run of token characters.
template <typename Found> void forEachToken(QByteArrayView text, Found found)
{
    const qsizetype size = text.size();
    for (qsizetype at = 0; at < size;) {
        if (!isTokenCharacter(text[at])) {
            ++at;
            continue;
        }
        qsizetype end = at;
        while (end < size && isTokenCharacter(text[end]))
            ++end;
        found(at, end);
        at = end;
    }
}

std::vector<PatternToken> patternTokens(const NetworkRule &rule)
{
    std::vector<PatternToken> tokens;
    const QByteArray lower = rule.pattern.toLower();
    forEachToken(lower, [&](qsizetype at, qsizetype end) {
        const bool leftBound =
            at > 0 ? lower[at - 1] != '*' : rule.start != NetworkRule::Start::Anywhere;
        const bool rightBound = end < lower.size() ? lower[end] != '*' : rule.anchoredEnd;
        if (leftBound && rightBound) {
            const QByteArrayView token = QByteArrayView(lower).sliced(at, end - at);
            tokens.push_back({tokenHash(token), isCommonToken(token)});
        }
    });
    return tokens;
}

using AddressTokens = QVarLengthArray<quint32, 64>;

AddressTokens addressTokens(QByteArrayView lowerAddress)
{
    AddressTokens tokens;
    forEachToken(lowerAddress, [&](qsizetype at, qsizetype end) {
        tokens.push_back(tokenHash(lowerAddress.sliced(at, end - at)));
    });
    return tokens;
}

// '^' stands for one character that is no letter, digit or "_-.%", or for the address's end.
bool isSeparator(char c)
{
    return !((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
             c == '_' || c == '-' || c == '.' || c == '%');
}

// Whether the piece (no '*' in it) stands at that place of the address; a '^' that closes the
// whole pattern may stand for the address's end.
bool pieceAt(QByteArrayView piece, QByteArrayView address, qsizetype at, bool closesPattern)
{
    for (qsizetype index = 0; index < piece.size(); ++index, ++at) {
        const char wanted = piece[index];
        if (at >= address.size())
            return closesPattern && wanted == '^' && index == piece.size() - 1;
        if (wanted == '^' ? !isSeparator(address[at]) : wanted != address[at])
            return false;
    }
    return true;
}

// Where the piece first stands at or after from; -1 where it does not.
qsizetype findPiece(QByteArrayView piece, QByteArrayView address, qsizetype from,
                    bool closesPattern)
{
    for (qsizetype at = from; at <= address.size(); ++at) {
        if (piece.isEmpty() || pieceAt(piece, address, at, closesPattern))
            return at;
        if (piece.front() != '^') {
            // Straight to the next place the first character stands.
            const void *next =
                at + 1 < address.size()
                    ? std::memchr(address.data() + at + 1, piece.front(), address.size() - at - 1)
                    : nullptr;
            if (!next)
                return -1;
            at = static_cast<const char *>(next) - address.data() - 1;
        }
    }
    return -1;
}

// The length the piece takes at that place: a closing '^' at the address's end takes nothing.
qsizetype pieceLength(QByteArrayView piece, QByteArrayView address, qsizetype at)
{
    return std::min(piece.size(), address.size() - at);
}

// The pattern from its first piece, which must stand at `at`; the rest in order, each as early
// as it can: with '*' the only wildcard, the earliest place never loses a match.
bool restMatches(QByteArrayView pattern, QByteArrayView address, qsizetype at, bool anchoredEnd)
{
    for (qsizetype from = 0;;) {
        const qsizetype star = pattern.indexOf('*', from);
        const bool last = star < 0;
        const bool first = from == 0;
        const QByteArrayView piece = pattern.sliced(from, (last ? pattern.size() : star) - from);
        if (last && anchoredEnd) {
            const qsizetype place = address.size() - piece.size();
            return (first ? place == at : place >= at) && pieceAt(piece, address, place, true);
        }
        if (!first)
            at = findPiece(piece, address, at, last);
        if (at < 0 || !pieceAt(piece, address, at, last))
            return false;
        if (last)
            return true;
        at += pieceLength(piece, address, at);
        from = star + 1;
    }
}

bool patternMatches(const NetworkRule &rule, QByteArrayView address, const Request &request)
{
    const QByteArrayView pattern = rule.pattern;
    switch (rule.start) {
    case NetworkRule::Start::AddressStart:
        return restMatches(pattern, address, 0, rule.anchoredEnd);
    case NetworkRule::Start::Domain: {
        // At the host's start or after any dot of it.
        const qsizetype hostEnd = request.hostStart + request.host.size();
        for (qsizetype at = request.hostStart; at < hostEnd; ++at) {
            if ((at == request.hostStart || address[at - 1] == '.') &&
                restMatches(pattern, address, at, rule.anchoredEnd))
                return true;
        }
        return false;
    }
    case NetworkRule::Start::Anywhere: {
        const qsizetype star = pattern.indexOf('*');
        const QByteArrayView first = star < 0 ? pattern : pattern.first(star);
        for (qsizetype at = findPiece(first, address, 0, star < 0); at >= 0;
             at = findPiece(first, address, at + 1, star < 0)) {
            if (restMatches(pattern, address, at, rule.anchoredEnd))
                return true;
            if (!rule.anchoredEnd)
                return false; // the earliest place was the best one
        }
        return false;
    }
    }
    return false;
}

bool ruleMatches(const NetworkRule &rule, const Request &request, QByteArrayView lowerAddress)
{
    if (!(rule.types & TypeMask(request.type)))
        return false;
    if (rule.party != Party::Any && (rule.party == Party::Third) != request.thirdParty)
        return false;
    if (!rule.domains.isEmpty() && !rule.domains.covers(request.pageHost))
        return false;
    return patternMatches(rule, rule.matchCase ? QByteArrayView(request.address) : lowerAddress,
                          request);
}

bool isCountryCode(QByteArrayView label)
{
    return label.size() == 2 && label[0] >= 'a' && label[0] <= 'z';
}

// Where the host stands in an encoded address, and the host; QUrl has made it lower case.
std::pair<qsizetype, QByteArrayView> hostIn(QByteArrayView address)
{
    const qsizetype scheme = address.indexOf("://");
    if (scheme < 0)
        return {0, {}};
    qsizetype start = scheme + 3;
    qsizetype end = start;
    while (end < address.size() && !QByteArrayView("/?#").contains(address[end]))
        ++end;
    const qsizetype at = address.sliced(start, end - start).lastIndexOf('@');
    if (at >= 0)
        start += at + 1;
    if (start < end && address[start] == '[') { // "[::1]:8080": the host without its brackets
        const qsizetype close = address.sliced(start, end - start).indexOf(']');
        return close < 0 ? std::pair{qsizetype(0), QByteArrayView()}
                         : std::pair{start + 1, address.sliced(start + 1, close - 1)};
    }
    const qsizetype colon = address.sliced(start, end - start).indexOf(':');
    if (colon >= 0)
        end = start + colon;
    return {start, address.sliced(start, end - start)};
}

} // namespace

QByteArrayView siteOf(QByteArrayView host)
{
    // An address given by number is a site of its own.
    if (host.isEmpty() || (host.back() >= '0' && host.back() <= '9') || host.contains(':'))
        return host;
    const qsizetype last = host.lastIndexOf('.');
    const qsizetype second = last > 0 ? host.first(last).lastIndexOf('.') : -1;
    if (second < 0)
        return host;
    // "example.co.uk", "example.com.au": a country's own second level.
    const qsizetype third = host.first(second).lastIndexOf('.');
    if (isCountryCode(host.sliced(last + 1)) && last - second - 1 <= 3)
        return host.sliced(third + 1);
    return host.sliced(second + 1);
}

Request Request::make(const QUrl &address, const QUrl &page, RequestType type)
{
    Request request;
    request.address = address.toEncoded();
    request.lowerAddress = request.address.toLower();
    const auto [hostStart, host] = hostIn(request.lowerAddress);
    request.hostStart = hostStart;
    request.host = host.toByteArray();
    request.pageHost = page.host(QUrl::FullyEncoded).toUtf8().toLower();
    request.type = type;
    request.thirdParty =
        request.pageHost.isEmpty() || siteOf(request.host) != siteOf(request.pageHost);
    return request;
}

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
    quint32 chosen = NoToken;
    qsizetype fewest = std::numeric_limits<qsizetype>::max();
    for (const PatternToken &token : patternTokens(entry.rule)) {
        const auto bucket = index.constFind(token.hash);
        const qsizetype size =
            (bucket == index.cend() ? 0 : qsizetype(bucket->size())) + (token.common ? 100000 : 0);
        if (size < fewest) {
            fewest = size;
            chosen = token.hash;
        }
    }
    index[chosen].push_back(int(m_network.size()));
    m_network.push_back(std::move(entry));
}

const FilterSet::Entry *FilterSet::firstMatch(const Index &index, const Request &request,
                                              const AddressTokens &tokens) const
{
    const QByteArrayView lowerAddress = request.lowerAddress;
    const Entry *found = nullptr;
    const auto search = [&](quint32 token) {
        const auto bucket = index.constFind(token);
        if (bucket == index.cend())
            return false;
        for (int at : *bucket) {
            const Entry &entry = m_network[size_t(at)];
            if ((!found || entry.rule.important) &&
                ruleMatches(entry.rule, request, lowerAddress)) {
                found = &entry;
                if (entry.rule.important)
                    return true;
            }
        }
        return false;
    };
    if (search(NoToken))
        return found;
    for (quint32 token : tokens)
        if (search(token))
            return found;
    return found;
}

Decision FilterSet::decide(const Request &request) const
{
    const AddressTokens tokens = addressTokens(request.lowerAddress);
    const Entry *block = firstMatch(m_blocks, request, tokens);
    if (!block)
        return {};
    const Entry *excuse =
        block->rule.important ? nullptr : firstMatch(m_exceptions, request, tokens);
    if (excuse)
        return {Decision::Outcome::Allowed, excuse->text, m_lists.value(excuse->list)};
    return {Decision::Outcome::Blocked, block->text, m_lists.value(block->list)};
}

std::uint8_t FilterSet::pageExcuses(const QUrl &page) const
{
    const Request request = Request::make(page, page, RequestType::Document);
    const QByteArrayView lowerAddress = request.lowerAddress;
    std::uint8_t excuses = NetworkRule::NoPage;
    AddressTokens tokens = addressTokens(lowerAddress);
    tokens.push_back(NoToken);
    for (quint32 token : tokens) {
        const auto bucket = m_exceptions.constFind(token);
        if (bucket == m_exceptions.cend())
            continue;
        for (int at : *bucket) {
            NetworkRule rule = m_network[size_t(at)].rule;
            if (rule.excuses == NetworkRule::NoPage)
                continue;
            rule.types = AllTypes; // asked of the page, whatever the rule's own types
            if (ruleMatches(rule, request, lowerAddress))
                excuses |= rule.excuses;
        }
    }
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
