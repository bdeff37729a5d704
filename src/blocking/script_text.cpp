#include "script_text.h"

#include <array>
#include <string_view>

namespace ScriptText {

namespace {

constexpr int MostNesting = 256;

bool isWordCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$';
}

// Whether a '/' at `at` begins a regular expression rather than dividing: it does after an
// operator, an opening bracket or a keyword that takes an expression.
bool startsRegularExpression(QByteArrayView source, qsizetype at)
{
    qsizetype before = at - 1;
    while (before >= 0 && QByteArrayView(" \t\r\n").contains(source[before]))
        --before;
    if (before < 0)
        return true;
    const char last = source[before];
    if (!isWordCharacter(last))
        return last != ')' && last != ']' && last != '}';
    qsizetype word = before;
    while (word >= 0 && isWordCharacter(source[word]))
        --word;
    const QByteArrayView name = source.sliced(word + 1, before - word);
    static constexpr std::array<std::string_view, 13> Keywords{
        "return", "typeof", "case", "do",    "else",  "in",   "of",
        "new",    "delete", "void", "throw", "yield", "await"};
    for (std::string_view keyword : Keywords)
        if (name == QByteArrayView(keyword.data(), qsizetype(keyword.size())))
            return true;
    return false;
}

qsizetype closingAt(QByteArrayView source, qsizetype open, int depth);

// Where the string, comment, template literal or regular expression that starts at `at` ends
// (the index past it), or `at` itself when none starts there; -1 when it never ends.
qsizetype skipLiteral(QByteArrayView source, qsizetype at, int depth)
{
    const char c = source[at];
    const char next = at + 1 < source.size() ? source[at + 1] : '\0';
    if (c == '/' && next == '/') {
        const qsizetype end = source.indexOf('\n', at);
        return end < 0 ? source.size() : end;
    }
    if (c == '/' && next == '*') {
        const qsizetype end = source.indexOf("*/", at + 2);
        return end < 0 ? -1 : end + 2;
    }
    if (c == '\'' || c == '"') {
        for (qsizetype index = at + 1; index < source.size(); ++index) {
            if (source[index] == '\\')
                ++index;
            else if (source[index] == c)
                return index + 1;
            else if (source[index] == '\n')
                return -1;
        }
        return -1;
    }
    if (c == '`') {
        for (qsizetype index = at + 1; index < source.size(); ++index) {
            if (source[index] == '\\') {
                ++index;
            } else if (source[index] == '`') {
                return index + 1;
            } else if (source[index] == '$' && index + 1 < source.size() &&
                       source[index + 1] == '{') {
                index = closingAt(source, index + 1, depth + 1);
                if (index < 0)
                    return -1;
            }
        }
        return -1;
    }
    if (c == '/' && startsRegularExpression(source, at)) {
        bool inClass = false;
        for (qsizetype index = at + 1; index < source.size(); ++index) {
            const char r = source[index];
            if (r == '\\')
                ++index;
            else if (r == '[')
                inClass = true;
            else if (r == ']')
                inClass = false;
            else if (r == '/' && !inClass)
                return index + 1;
            else if (r == '\n')
                return -1;
        }
        return -1;
    }
    return at;
}

qsizetype findOutsideAt(QByteArrayView source, qsizetype from, QByteArrayView characters, int depth)
{
    for (qsizetype at = from; at < source.size();) {
        const qsizetype past = skipLiteral(source, at, depth);
        if (past < 0)
            return -1;
        if (past != at) {
            at = past;
            continue;
        }
        const char c = source[at];
        if (characters.contains(c))
            return at;
        if (c == '{' || c == '(' || c == '[') {
            at = closingAt(source, at, depth);
            if (at < 0)
                return -1;
        }
        ++at;
    }
    return -1;
}

// The first closing bracket past the one at `open` that closes no bracket opened since; code
// nested deeper than any module's is taken for damage.
qsizetype closingAt(QByteArrayView source, qsizetype open, int depth)
{
    return depth >= MostNesting ? -1 : findOutsideAt(source, open + 1, "}])", depth + 1);
}

} // namespace

qsizetype findOutside(QByteArrayView source, qsizetype from, QByteArrayView characters)
{
    return findOutsideAt(source, from, characters, 0);
}

qsizetype closing(QByteArrayView source, qsizetype open)
{
    return closingAt(source, open, 0);
}

} // namespace ScriptText
