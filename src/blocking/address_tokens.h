#ifndef REELHOP_BLOCKING_ADDRESS_TOKENS_H
#define REELHOP_BLOCKING_ADDRESS_TOKENS_H

#include "filter_rule.h"

#include <QByteArrayView>
#include <QVarLengthArray>
#include <algorithm>
#include <array>
#include <cstring>
#include <span>
#include <type_traits>
#include <vector>

// The tokens of addresses and of rules' patterns: runs of lower-case letters, digits and '%'. A
// rule is filed under one of its tokens, and an address is decided by the rules filed under the
// tokens it holds.
namespace Blocking {

namespace Detail {
constexpr std::array<bool, 256> TokenCharacters = [] {
    std::array<bool, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[size_t(c)] = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '%';
    return table;
}();
} // namespace Detail

inline bool isTokenCharacter(char c)
{
    return Detail::TokenCharacters[quint8(c)];
}

inline constexpr quint32 NoToken = 0; // the bucket of rules without a token

// A hash of `size` bytes from `bytes`, eight at a time: a byte at a time, each step waits for
// the one before, and an address of megabytes is mostly its tokens' bytes. Never NoToken.
inline quint32 bytesHash(const char *bytes, qsizetype size, const char *textEnd)
{
    quint64 hash = quint64(size) * 0x9e3779b97f4a7c15u;
    for (; size > 0; bytes += 8, size -= 8) {
        quint64 word = 0;
        if (textEnd - bytes >= 8)
            std::memcpy(&word, bytes, 8);
        else // the text's last bytes, fewer than eight
            std::memcpy(&word, bytes, size_t(size));
        if (size < 8)
            word &= (quint64(1) << (8 * size)) - 1;
        hash = (hash ^ word) * 0xff51afd7ed558ccdu;
        hash ^= hash >> 29;
    }
    return quint32(hash >> 32) | 1u;
}

// Calls found(start, end, hash) for each maximal run of token characters. A `found` that
// returns a place goes on from there, so that what it knows of the text is passed over.
template <typename Found> void forEachToken(QByteArrayView text, Found found)
{
    const char *const bytes = text.data();
    const qsizetype size = text.size();
    for (qsizetype at = 0; at < size;) {
        if (!isTokenCharacter(bytes[at])) {
            ++at;
            continue;
        }
        qsizetype end = at + 1;
        while (end < size && isTokenCharacter(bytes[end]))
            ++end;
        const quint32 hash = bytesHash(bytes + at, end - at, bytes + size);
        if constexpr (std::is_void_v<std::invoke_result_t<Found, qsizetype, qsizetype, quint32>>) {
            found(at, end, hash);
            at = end;
        } else {
            at = std::max<qsizetype>(end, found(at, end, hash));
        }
    }
}

// A token of a rule's pattern that any address it matches must hold whole: bounded on both sides
// by a character that is no token's, or by an anchor.
struct PatternToken
{
    quint32 hash;
    bool common;  // one that most addresses hold: a rule filed under it is tried nearly always
    qsizetype at; // where it stands in the pattern; -1 when a '*' comes before it
};
std::vector<PatternToken> patternTokens(const NetworkRule &rule);

// The tokens some rule is filed under, so that an address's other tokens cost no lookup. It may
// say yes for a token no rule has, never no for one that a rule has.
//
// A rule anchored at the address or its host finds its token only near the start: at most its
// place in the pattern past the host's end. Its token is known there alone, so that an address
// made of the thousands of hosts the lists name costs a lookup a token in its host, not in its
// whole length.
class KnownTokens
{
public:
    KnownTokens() : m_anywhere(Words, 0), m_nearStart(Words, 0) {}
    void add(quint32 hash) { set(m_anywhere, hash); }
    void addNearStart(quint32 hash, qsizetype tokenAt)
    {
        set(m_nearStart, hash);
        m_nearStartReach = std::max(m_nearStartReach, tokenAt);
    }
    // Whether a token at `place` may be a rule's, in an address whose host ends at `hostEnd`.
    bool has(quint32 hash, qsizetype place, qsizetype hostEnd) const
    {
        return isSet(m_anywhere, hash) ||
               (place <= hostEnd + m_nearStartReach && isSet(m_nearStart, hash));
    }

private:
    static constexpr quint32 Words = 1 << 14; // a million bits: few false yeses for 100,000 rules
    static void set(std::vector<quint64> &bits, quint32 hash)
    {
        bits[(hash >> 6) % Words] |= quint64(1) << (hash & 63);
    }
    static bool isSet(const std::vector<quint64> &bits, quint32 hash)
    {
        return bits[(hash >> 6) % Words] >> (hash & 63) & 1;
    }
    std::vector<quint64> m_anywhere;
    std::vector<quint64> m_nearStart;
    qsizetype m_nearStartReach = 0;
};

// Which places of a token in an address decide alike: those whose surroundings, from `before`
// bytes before the place to `after` bytes from it (the farthest any rule reaches), are the same
// bytes of `address`, outside its first `keepFrom` bytes (where a rule anchored at the host may
// start).
struct Surroundings
{
    QByteArrayView address;
    qsizetype before = 0;
    qsizetype after = 0;
    qsizetype keepFrom = 0;
};

// Where each known token of an address stands: each token once, in the order it first stands,
// with its places in order. A token an address repeats thousands of times is still one token,
// and a place whose surroundings are those of the token's place before it is left out: an address
// that repeats itself costs a pass over it, not a place kept a repeat.
class TokenPlaces
{
public:
    struct Token
    {
        quint32 hash;
        qsizetype first; // its places are places()[first, first + count)
        qsizetype count;
    };

    TokenPlaces(QByteArrayView lowerAddress, const KnownTokens &known,
                const Surroundings &surroundings);

    const QVarLengthArray<Token, 32> &tokens() const { return m_tokens; }
    std::span<const qsizetype> places(const Token &token) const
    {
        return {m_places.data() + token.first, size_t(token.count)};
    }

private:
    QVarLengthArray<Token, 32> m_tokens;
    QVarLengthArray<qsizetype, 64> m_places;
};

// The places whose surroundings, from `before` bytes before the place to `after` bytes from it,
// no earlier place shares; a place whose surroundings start before `keepFrom` or run past the
// address is always kept. A pattern found from the token at a place then sees each distinct
// surrounding once, however often an address repeats it.
QVarLengthArray<qsizetype, 64> distinctSurroundings(std::span<const qsizetype> places,
                                                    QByteArrayView address, qsizetype before,
                                                    qsizetype after, qsizetype keepFrom);

} // namespace Blocking

#endif
