#include "address_tokens.h"

#include <QSet>
#include <algorithm>
#include <cstring>

namespace Blocking {

TokenPlaces::TokenPlaces(QByteArrayView lowerAddress, const KnownTokens &known)
{
    struct Found
    {
        qsizetype token;
        qsizetype at;
    };
    QVarLengthArray<Found, 64> found;
    found.reserve(lowerAddress.size() / 2 + 1); // at most one token in two characters
    // Each token to its place in m_tokens, by open addressing in a table kept half empty.
    QVarLengthArray<qsizetype, 64> table(64);
    std::fill(table.begin(), table.end(), -1);
    const auto tokenOf = [&](quint32 hash) {
        qsizetype mask = table.size() - 1;
        qsizetype at = qsizetype(hash) & mask;
        for (; table[at] >= 0; at = (at + 1) & mask)
            if (m_tokens[table[at]].hash == hash)
                return table[at];
        if (2 * (m_tokens.size() + 1) > table.size()) {
            table.resize(2 * table.size());
            std::fill(table.begin(), table.end(), -1);
            mask = table.size() - 1;
            for (qsizetype token = 0; token < m_tokens.size(); ++token) {
                qsizetype slot = qsizetype(m_tokens[token].hash) & mask;
                while (table[slot] >= 0)
                    slot = (slot + 1) & mask;
                table[slot] = token;
            }
            for (at = qsizetype(hash) & mask; table[at] >= 0; at = (at + 1) & mask) {
            }
        }
        table[at] = m_tokens.size();
        m_tokens.append({hash, 0, 0});
        return table[at];
    };
    forEachToken(lowerAddress, [&](qsizetype at, qsizetype, quint32 hash) {
        if (!known.has(hash))
            return;
        const qsizetype token = tokenOf(hash);
        ++m_tokens[token].count;
        found.append({token, at});
    });
    qsizetype first = 0;
    for (Token &token : m_tokens) {
        token.first = first;
        first += token.count;
        token.count = 0;
    }
    m_places.resize(found.size());
    for (const Found &place : found) {
        Token &token = m_tokens[place.token];
        m_places[token.first + token.count++] = place.at;
    }
}

QVarLengthArray<qsizetype, 64> distinctSurroundings(std::span<const qsizetype> places,
                                                    QByteArrayView address, qsizetype before,
                                                    qsizetype after, qsizetype keepFrom)
{
    QVarLengthArray<qsizetype, 64> kept;
    QSet<QByteArrayView> seen;
    QByteArrayView previous;
    for (qsizetype place : places) {
        const qsizetype start = place - before;
        if (places.size() <= 8 || start < keepFrom || place + after > address.size()) {
            kept.append(place);
            continue;
        }
        const QByteArrayView surroundings = address.sliced(start, before + after);
        // An address that repeats itself mostly repeats the place just before.
        if (!previous.isNull() && previous.size() == surroundings.size() &&
            std::memcmp(surroundings.data(), previous.data(), size_t(surroundings.size())) == 0)
            continue;
        previous = surroundings;
        if (!seen.contains(surroundings)) {
            seen.insert(surroundings);
            kept.append(place);
        }
    }
    return kept;
}

} // namespace Blocking
