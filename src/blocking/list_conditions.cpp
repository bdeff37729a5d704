#include "list_conditions.h"

#include <algorithm>
#include <array>

namespace Blocking {

namespace {

// The names that hold here, by the lists' own blocker's meaning.
constexpr std::array<QByteArrayView, 3> TrueNames{"env_chromium", "cap_user_stylesheet",
                                                  "ext_ublock"};

// A recursive reading of the expression; `failed` once anything in it is not understood.
class Expression
{
public:
    explicit Expression(QByteArrayView text) : m_text(text) {}

    bool value()
    {
        const bool result = either();
        skipBlanks();
        return result && !m_failed && m_at == m_text.size();
    }

private:
    bool either()
    {
        bool result = both();
        while (take("||"))
            result = both() || result;
        return result;
    }
    bool both()
    {
        bool result = single();
        while (take("&&"))
            result = single() && result;
        return result;
    }
    bool single()
    {
        if (take("!"))
            return !single();
        if (take("(")) {
            const bool result = either();
            m_failed = m_failed || !take(")");
            return result;
        }
        const qsizetype start = m_at; // after any blanks, which take() passed over
        // A name runs to a blank or an operator; whatever it holds, only the true names hold.
        while (m_at < m_text.size() && !QByteArrayView(" \t!&|()").contains(m_text[m_at]))
            ++m_at;
        const QByteArrayView name = m_text.sliced(start, m_at - start);
        m_failed = m_failed || name.isEmpty();
        return std::find(TrueNames.begin(), TrueNames.end(), name) != TrueNames.end();
    }
    bool take(QByteArrayView word)
    {
        skipBlanks();
        if (!m_text.sliced(m_at).startsWith(word))
            return false;
        m_at += word.size();
        return true;
    }
    void skipBlanks()
    {
        while (m_at < m_text.size() && (m_text[m_at] == ' ' || m_text[m_at] == '\t'))
            ++m_at;
    }

    QByteArrayView m_text;
    qsizetype m_at = 0;
    bool m_failed = false;
};

} // namespace

bool ListConditions::admits(QByteArrayView line)
{
    const QByteArrayView text = line.trimmed();
    if (!text.startsWith("!#"))
        return m_failing == 0;
    const QByteArrayView directive = text.sliced(2);
    if (directive.startsWith("if ")) {
        m_open.append(Expression(directive.sliced(3)).value());
        m_failing += !m_open.back();
    } else if (directive == "else" && !m_open.isEmpty()) {
        m_failing += m_open.back() ? 1 : -1;
        m_open.back() = !m_open.back();
    } else if (directive == "endif" && !m_open.isEmpty()) {
        m_failing -= !m_open.back();
        m_open.removeLast();
    }
    return false;
}

} // namespace Blocking
