#include "pattern_match.h"

#include <algorithm>
#include <cstring>

namespace Blocking {

namespace {

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
// as it can: with '*' the only wildcard, the earliest place never loses a match. So where the
// first piece stands and the rest fails, it fails from every later place too.
bool restMatches(QByteArrayView pattern, QByteArrayView address, qsizetype at, bool anchoredEnd)
{
    for (qsizetype from = 0;;) {
        const qsizetype star = pattern.indexOf('*', from);
        const bool last = star < 0;
        const bool first = from == 0;
        const QByteArrayView piece = pattern.sliced(from, (last ? pattern.size() : star) - from);
        if (last && anchoredEnd) {
            // A closing '^' may also stand for the end itself, taking nothing.
            for (qsizetype place = address.size() - piece.size();
                 place <= address.size() - piece.size() + (piece.endsWith('^') ? 1 : 0); ++place)
                if (place >= 0 && (first ? place == at : place >= at) &&
                    pieceAt(piece, address, place, true))
                    return true;
            return false;
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

QByteArrayView addressFor(const NetworkRule &rule, const Request &request)
{
    return rule.matchCase ? QByteArrayView(request.address) : request.lowerAddress;
}

QByteArrayView firstPiece(QByteArrayView pattern)
{
    const qsizetype star = pattern.indexOf('*');
    return star < 0 ? pattern : pattern.first(star);
}

// Whether the pattern matches from the first of the candidate places (ascending) where its
// first piece stands and `allowed` says it may start.
template <typename Places, typename Allowed>
bool matchesFromFirstPlace(const NetworkRule &rule, QByteArrayView address, Places places,
                           Allowed allowed)
{
    const QByteArrayView pattern = rule.pattern;
    const QByteArrayView first = firstPiece(pattern);
    const bool wild = first.size() < pattern.size();
    if (!wild && rule.anchoredEnd && rule.start == NetworkRule::Start::Anywhere) {
        // It can only stand where it ends with the address, or one further where its closing
        // '^' stands for the end itself.
        const qsizetype end = address.size() - pattern.size();
        return (end >= 0 && pieceAt(pattern, address, end, true)) ||
               (end >= -1 && pattern.endsWith('^') && pieceAt(pattern, address, end + 1, true));
    }
    bool matched = false;
    places([&](qsizetype at) {
        if (!allowed(at) || !pieceAt(first, address, at, !wild))
            return false; // on to the next place
        matched = restMatches(pattern, address, at, rule.anchoredEnd);
        return matched || wild; // past the first piece, a later place cannot do better
    });
    return matched;
}

// Where a rule anchored at a domain may start: at the host's start or after any dot of it.
bool startsALabel(const Request &request, QByteArrayView address, qsizetype at)
{
    return at >= request.hostStart && at < request.hostStart + request.host.size() &&
           (at == request.hostStart || address[at - 1] == '.');
}

bool anyPlace(qsizetype)
{
    return true;
}

} // namespace

bool appliesTo(const NetworkRule &rule, const Request &request, TypesAsked types)
{
    if (types == TypesAsked::Request && !(rule.types & TypeMask(request.type)))
        return false;
    switch (rule.party) {
    case Party::Any:
        break;
    case Party::First:
    case Party::Third:
        if ((rule.party == Party::Third) != request.thirdParty())
            return false;
        break;
    case Party::SameHost:
    case Party::OtherHost:
        if ((rule.party == Party::OtherHost) != (request.pageHost != request.host))
            return false;
        break;
    }
    // The hosts without their suffix are worked out only for a rule that needs them, once.
    const auto covers = [](const DomainScope &scope, const QByteArray &host, auto withoutSuffix) {
        return scope.isEmpty() ||
               scope.covers(host, scope.namesEverySuffix() ? withoutSuffix() : QByteArrayView());
    };
    return covers(rule.domains, request.pageHost, [&] { return request.pageWithoutSuffix(); }) &&
           (!rule.rare || covers(rule.requestDomains(), request.host,
                                 [&] { return request.hostWithoutSuffix(); }));
}

bool patternMatches(const NetworkRule &rule, const Request &request)
{
    const QByteArrayView address = addressFor(rule, request);
    const QByteArrayView first = firstPiece(rule.pattern);
    const bool closes = first.size() == rule.pattern.size();
    const qsizetype hostEnd = request.hostStart + request.host.size();
    switch (rule.start) {
    case NetworkRule::Start::AddressStart:
        return restMatches(rule.pattern, address, 0, rule.anchoredEnd);
    case NetworkRule::Start::Domain:
        return matchesFromFirstPlace(
            rule, address,
            [&](auto next) {
                for (qsizetype at = request.hostStart; at < hostEnd && !next(at); ++at) {
                }
            },
            [&](qsizetype at) { return startsALabel(request, address, at); });
    case NetworkRule::Start::Anywhere:
        return matchesFromFirstPlace(
            rule, address,
            [&](auto next) {
                for (qsizetype at = findPiece(first, address, 0, closes); at >= 0 && !next(at);
                     at = findPiece(first, address, at + 1, closes)) {
                }
            },
            anyPlace);
    }
    return false;
}

bool patternMatchesAt(const NetworkRule &rule, const Request &request, qsizetype tokenAt,
                      std::span<const qsizetype> places)
{
    const QByteArrayView address = addressFor(rule, request);
    const qsizetype hostEnd = request.hostStart + request.host.size();
    const auto eachPlace = [&](auto next) {
        for (qsizetype place : places)
            if (place >= tokenAt && next(place - tokenAt))
                return;
    };
    switch (rule.start) {
    case NetworkRule::Start::AddressStart:
        return restMatches(rule.pattern, address, 0, rule.anchoredEnd);
    case NetworkRule::Start::Domain:
        return matchesFromFirstPlace(
            rule, address,
            [&](auto next) {
                for (qsizetype place : places)
                    if (place - tokenAt >= hostEnd || (place >= tokenAt && next(place - tokenAt)))
                        return;
            },
            [&](qsizetype at) { return startsALabel(request, address, at); });
    case NetworkRule::Start::Anywhere:
        return matchesFromFirstPlace(rule, address, eachPlace, anyPlace);
    }
    return false;
}

Reach reachAround(const NetworkRule &rule, qsizetype tokenAt)
{
    return {tokenAt, firstPiece(rule.pattern).size() - tokenAt};
}

} // namespace Blocking
