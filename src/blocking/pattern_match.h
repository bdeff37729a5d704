#ifndef REELHOP_BLOCKING_PATTERN_MATCH_H
#define REELHOP_BLOCKING_PATTERN_MATCH_H

#include "filter_rule.h"
#include "request.h"

#include <span>

// Whether a network rule matches a request.
namespace Blocking {

// What a rule asks of a request besides its address: the type (unless any is asked for), the
// party, the page's domain.
enum class TypesAsked { Request, Any };
bool appliesTo(const NetworkRule &rule, const Request &request,
               TypesAsked types = TypesAsked::Request);

// Whether the rule's pattern matches the request's address, by looking through the address.
bool patternMatches(const NetworkRule &rule, const Request &request);

// The same, looked for only where the rule's token stands: `tokenAt` is where it stands in the
// pattern, before any '*', and `places` where it stands in the address, in order. Every place of
// a distinct surrounding must be given; a later place of the same surrounding may be left out.
bool patternMatchesAt(const NetworkRule &rule, const Request &request, qsizetype tokenAt,
                      std::span<const qsizetype> places);

// How far a rule's pattern reaches around its token when found from it: `before` bytes before
// the token's start and `after` bytes from it.
struct Reach
{
    qsizetype before = 0;
    qsizetype after = 0;
};
Reach reachAround(const NetworkRule &rule, qsizetype tokenAt);

} // namespace Blocking

#endif
