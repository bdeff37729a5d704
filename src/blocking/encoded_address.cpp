#include "encoded_address.h"

#include <QSysInfo>

#include <algorithm>
#include <cstring>
#include <string_view>

namespace Blocking {

namespace {

// Sixteen bytes, or eight characters: worked on at once where the machine can.
using Bytes = quint8 __attribute__((vector_size(16)));
using Characters = char16_t __attribute__((vector_size(16)));

// Non-zero where a byte is one Qt's full encoding would change in a query: all but those of no
// meaning (letters, digits, "-._~"), those with a meaning there ("!$&'()*+,;=:@/?") and the '%'
// of what is encoded already. Said as ranges and with '|', for one byte or sixteen alike.
template <typename Lanes> constexpr Lanes strays(Lanes b)
{
    const auto within = [b](quint8 low, quint8 high) {
        return (Lanes)((Lanes)(b - low) <= quint8(high - low));
    };
    const auto is = [b](quint8 c) { return (Lanes)(b == c); };
    return (Lanes)((Lanes)(b - '!') > quint8('~' - '!')) | within('"', '#') | is('<') | is('>') |
           within('[', '^') | is('`') | within('{', '}');
}
static_assert([] {
    constexpr std::string_view Kept = "-._~!$&'()*+,;=:@/?%";
    for (int c = 0; c < 256; ++c) {
        const bool kept = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                          (c >= '0' && c <= '9') || Kept.find(char(c)) != std::string_view::npos;
        if ((strays(quint8(c)) == 0) != kept)
            return false;
    }
    return true;
}());

// Writes `text` to `out` a byte a character, and says whether it is as Qt's full encoding
// writes it in a query: every character one the encoding keeps (none past Latin-1 among them).
bool writeIfKept(QStringView text, char *out)
{
    const char16_t *const characters = text.utf16();
    const qsizetype size = text.size();
    Bytes stray{};
    Characters high{};
    qsizetype at = 0;
    for (; at + 16 <= size; at += 16) {
        Characters first, second;
        std::memcpy(&first, characters + at, 16);
        std::memcpy(&second, characters + at + 8, 16);
        high |= (first | second) >> 8;
        // Each character's low byte (the first of its two: this is a little-endian machine's
        // order, and only there is the pass taken).
        const Bytes low = __builtin_shufflevector((Bytes)first, (Bytes)second, 0, 2, 4, 6, 8, 10,
                                                  12, 14, 16, 18, 20, 22, 24, 26, 28, 30);
        stray |= strays(low);
        std::memcpy(out + at, &low, 16);
    }
    bool kept = true;
    for (int lane = 0; lane < 16; ++lane)
        kept &= stray[lane] == 0 && high[lane % 8] == 0;
    for (; at < size; ++at) {
        out[at] = char(characters[at]);
        kept &= characters[at] < 256 && strays(quint8(characters[at])) == 0;
    }
    return kept;
}

} // namespace

// Qt hands a query over as it keeps it, and one made only of characters its encoding leaves
// alone is its encoded form already: a long one is taken so, and Qt writes the rest.
QByteArray encodedAddress(const QUrl &address)
{
    constexpr qsizetype LongQuery = 16 * 1024;
    if (QSysInfo::ByteOrder != QSysInfo::LittleEndian || !address.hasQuery())
        return address.toEncoded();
    const QString query = address.query(QUrl::PrettyDecoded);
    if (query.size() < LongQuery)
        return address.toEncoded();
    QUrl rest = address;
    rest.setQuery(QString());
    rest.setFragment(QString());
    const QByteArray before = rest.toEncoded() + '?';
    const QByteArray after = address.hasFragment()
                                 ? '#' + address.fragment(QUrl::FullyEncoded).toLatin1()
                                 : QByteArray();
    QByteArray whole(before.size() + query.size() + after.size(), Qt::Uninitialized);
    char *const queryAt = std::copy(before.cbegin(), before.cend(), whole.data());
    if (!writeIfKept(query, queryAt))
        return address.toEncoded();
    std::copy(after.cbegin(), after.cend(), queryAt + query.size());
    return whole;
}

} // namespace Blocking
