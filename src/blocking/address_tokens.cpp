#include "address_tokens.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>

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

// Whether a token's place has the surroundings of its place before, near enough that the two
// overlap: the address repeats itself there at the distance between the two. What is known to
// repeat is kept from place to place, so a run of places the same distance apart costs one pass
// over the address.
class RepeatWatch
{
public:
    bool repeats(qsizetype place, qsizetype tokenEnd, const Surroundings &around)
    {
        const qsizetype start = place - around.before;
        const qsizetype end = std::max(place + around.after, tokenEnd);
        if (start < around.keepFrom || end > around.address.size())
            return false; // kept, and not compared against
        const qsizetype last = std::exchange(m_last, place);
        // Only a place whose surroundings overlap the last one's is compared, so no byte is
        // compared twice in a run; farther repeats are told apart by the rules' own reach.
        if (last < 0 || place - last >= end - start)
            return false;
        if (place - last != m_gap) {
            m_gap = place - last;
            m_sameFrom = m_sameUntil = start;
        }
        // address[x] == address[x - gap] for x in [m_sameFrom, m_sameUntil). No x is before the
        // surroundings of a place compared at this gap, so x - gap is never before the address.
        const QByteArrayView address = around.address;
        while (m_sameUntil < end && address[m_sameUntil] == address[m_sameUntil - m_gap])
            ++m_sameUntil;
        if (m_sameUntil >= end)
            return m_sameFrom <= start;
        m_sameFrom = m_sameUntil = m_sameUntil + 1; // they differ there
        return false;
    }

    // After a place that repeats: where tokens are to be looked at again. Up to there the
    // address repeats itself at the same distance, so each token's place between has the
    // surroundings of one a distance before it, down to places already looked at.
    qsizetype runEnd(qsizetype place, qsizetype tokenEnd, const Surroundings &around)
    {
        const QByteArrayView address = around.address;
        const char *const bytes = address.data();
        qsizetype until = m_sameUntil;
        for (quint64 ahead, behind; until + 8 <= address.size(); until += 8) {
            std::memcpy(&ahead, bytes + until, 8);
            std::memcpy(&behind, bytes + until - m_gap, 8);
            if (ahead != behind)
                break;
        }
        while (until < address.size() && bytes[until] == bytes[until - m_gap])
            ++until;
        m_sameUntil = qint32(until);
        // A whole number of distances on, a token starts as this one does, so every token
        // between ends before it, and the farthest whose surroundings stay inside the run is
        // where to go on from.
        const qsizetype distances = (until - around.after - place) / m_gap;
        if (distances < 1)
            return tokenEnd;
        m_last = qint32(place + (distances - 1) * m_gap);
        return place + distances * m_gap;
    }

private:
    // 32 bits each, as the places are.
    qint32 m_last = -1; // the last place compared
    qint32 m_gap = 0;
    qint32 m_sameFrom = 0;
    qint32 m_sameUntil = 0;
};

// Open addressing in a table of a power of two entries, an empty one's hash NoToken (no token's
// or surroundings' hash is): where probing for `hash` finds an empty entry.
template <typename Entry, qsizetype Prealloc>
qsizetype emptyEntry(const QVarLengthArray<Entry, Prealloc> &table, quint32 hash)
{
    const qsizetype mask = table.size() - 1;
    qsizetype at = qsizetype(hash) & mask;
    while (table[at].hash != NoToken)
        at = (at + 1) & mask;
    return at;
}

// The table twice as large, each entry put again where its hash leads.
template <typename Entry, qsizetype Prealloc>
void doubleTable(QVarLengthArray<Entry, Prealloc> &table)
{
    // Copied, not moved: Qt 6.4's QVarLengthArray loses a heap buffer moved onto it.
    const QVarLengthArray<Entry, Prealloc> old = table;
    table.clear();
    table.resize(2 * old.size());
    for (const Entry &entry : old)
        if (entry.hash != NoToken)
            table[emptyEntry(table, entry.hash)] = entry;
}

} // namespace

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

TokenPlaces::TokenPlaces(QByteArrayView lowerAddress, const KnownTokens &known,
                         const Surroundings &surroundings)
{
    // 32 bits a place: an address the engine hands over is at most 2 MB, and one far longer is
    // looked at in its first 2 GiB.
    const qsizetype size = std::min<qsizetype>(lowerAddress.size(), INT32_MAX);
    struct Found
    {
        qint32 token;
        qint32 at;
    };
    QVarLengthArray<Found, 64> found;
    found.reserve(size / 16);
    // Each token's slot, by open addressing in a table kept half empty: what a place needs of
    // its token lies together, so that an address of many tokens costs few cache misses a place.
    struct Slot
    {
        quint32 hash = NoToken; // NoToken: empty
        qint32 token = 0;
        qint32 count = 0;
        RepeatWatch watch;
    };
    QVarLengthArray<Slot, 64> table(64);
    const auto slotOf = [&](quint32 hash) -> Slot & {
        const qsizetype mask = table.size() - 1;
        qsizetype at = qsizetype(hash) & mask;
        for (; table[at].hash != NoToken; at = (at + 1) & mask)
            if (table[at].hash == hash)
                return table[at];
        if (2 * (m_tokens.size() + 1) > table.size()) {
            doubleTable(table);
            at = emptyEntry(table, hash);
        }
        table[at].hash = hash;
        table[at].token = qint32(m_tokens.size());
        m_tokens.append({hash, 0, 0});
        return table[at];
    };
    forEachToken(lowerAddress.first(size), [&](qsizetype at, qsizetype end, quint32 hash) {
        if (!known.has(hash, at, surroundings.keepFrom))
            return end;
        Slot &slot = slotOf(hash);
        if (slot.watch.repeats(at, end, surroundings))
            return slot.watch.runEnd(at, end, surroundings);
        ++slot.count;
        found.append({slot.token, qint32(at)});
        return end;
    });
    for (const Slot &slot : table)
        if (slot.hash != NoToken)
            m_tokens[slot.token].count = slot.count;
    // Each token's places where its count says, in the order found.
    QVarLengthArray<qint32, 32> next(m_tokens.size());
    qsizetype first = 0;
    for (qsizetype token = 0; token < m_tokens.size(); ++token) {
        m_tokens[token].first = first;
        next[token] = qint32(first);
        first += m_tokens[token].count;
    }
    m_places.resize(found.size());
    for (const Found &place : found)
        m_places[next[place.token]++] = place.at;
}

QVarLengthArray<qsizetype, 64> distinctSurroundings(std::span<const qsizetype> places,
                                                    QByteArrayView address, qsizetype before,
                                                    qsizetype after, qsizetype keepFrom)
{
    QVarLengthArray<qsizetype, 64> kept;
    if (places.size() <= 8) {
        kept.append(places.data(), qsizetype(places.size()));
        return kept;
    }
    const qsizetype length = before + after;
    const auto surroundingsOf = [&](qsizetype place) { return address.data() + place - before; };
    // The kept places by their surroundings' hash, in a table kept at least half empty: sized
    // for every place up to 64 KiB, past that grown with what is kept, so that a token an
    // address holds tens of thousands of times costs a probe a place in a table that stays in
    // the cache.
    struct Seen
    {
        quint32 hash = NoToken; // NoToken: empty, as it is no surroundings' hash
        qint32 kept = 0;
    };
    qsizetype tableSize = 16;
    while (tableSize < 2 * qsizetype(places.size()) && tableSize < 8192)
        tableSize *= 2;
    QVarLengthArray<Seen, 64> table(tableSize);
    const char *const end = address.data() + address.size();
    for (qsizetype place : places) {
        if (place - before < keepFrom || place + after > address.size()) {
            kept.append(place);
            continue;
        }
        const char *const surroundings = surroundingsOf(place);
        const quint32 hash = bytesHash(surroundings, length, end);
        const qsizetype mask = table.size() - 1;
        qsizetype at = qsizetype(hash) & mask;
        for (; table[at].hash != NoToken; at = (at + 1) & mask)
            if (table[at].hash == hash && std::memcmp(surroundingsOf(kept[table[at].kept]),
                                                      surroundings, size_t(length)) == 0)
                break;
        if (table[at].hash != NoToken)
            continue;
        table[at] = {hash, qint32(kept.size())};
        kept.append(place);
        if (2 * kept.size() > table.size())
            doubleTable(table);
    }
    return kept;
}

} // namespace Blocking
