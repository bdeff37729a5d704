#pragma once

#include "blocking/filter_rule.h"
#include "blocking/request.h"

// Whether a rule's pattern matches a request, the way filter lists define it, sharing no code
// with the matcher. Built without the fuzzer's coverage, so inputs are not chosen for the paths
// they take through it.
bool oracleMatches(const Blocking::NetworkRule &rule, const Blocking::Request &request);
