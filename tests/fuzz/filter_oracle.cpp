#include "filter_oracle.h"

#include "blocking/pattern_match.h"

#include <cctype>
#include <cstring>
#include <vector>

using namespace Blocking;

namespace {

bool isSeparator(char c)
{
    return !std::isalnum(static_cast<unsigned char>(c)) && !std::strchr("_.%-", c);
}

} // namespace

// A set of pattern positions stepped along the address, so that no input costs more than address
// times pattern: '*' is anything, '^' a separator or (closing the pattern) the address's end.
bool oracleMatches(const NetworkRule &rule, const Request &request)
{
    if (!appliesTo(rule, request))
        return false;
    const QByteArray &address = rule.matchCase ? request.address : request.lowerAddress;
    const QByteArray &pattern = rule.pattern;
    const qsizetype last = pattern.size();
    const auto mayStartAt = [&](qsizetype at) {
        switch (rule.start) {
        case NetworkRule::Start::AddressStart:
            return at == 0;
        case NetworkRule::Start::Domain:
            return at >= request.hostStart && at < request.hostStart + request.host.size() &&
                   (at == request.hostStart || address[at - 1] == '.');
        case NetworkRule::Start::Anywhere:
            return true;
        }
        return false;
    };
    // The pattern positions reached so far, each once per step; a '*' may also match nothing.
    std::vector<qsizetype> active, next;
    std::vector<qsizetype> addedAt(size_t(last) + 1, -1);
    const auto add = [&](std::vector<qsizetype> &states, qsizetype state, qsizetype step) {
        for (; addedAt[size_t(state)] != step; ++state) {
            addedAt[size_t(state)] = step;
            states.push_back(state);
            if (state == last || pattern[state] != '*')
                break;
        }
    };
    for (qsizetype at = 0;; ++at) {
        if (mayStartAt(at))
            add(active, 0, at);
        const bool atEnd = at == address.size();
        if (addedAt[size_t(last)] == at && (!rule.anchoredEnd || atEnd))
            return true;
        if (atEnd)
            return last > 0 && pattern[last - 1] == '^' && addedAt[size_t(last) - 1] == at;
        next.clear();
        const char c = address[at];
        for (const qsizetype state : active) {
            if (state == last)
                continue;
            const char wanted = pattern[state];
            if (wanted == '*')
                add(next, state, at + 1);
            else if (wanted == '^' ? isSeparator(c) : wanted == c)
                add(next, state + 1, at + 1);
        }
        active.swap(next);
    }
}
