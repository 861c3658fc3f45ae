// Splitting "a=1&b=2"-style texts into name/value pairs.
//
// Contract: pure function, thread-safe.
#pragma once

#include <string_view>
#include <vector>

#include "common/util/string_pair.h"

namespace common {

// White space is trimmed at both ends. Each pair runs from the current position (pair
// separators there are skipped) to the next pair separator after its name separator;
// the name is the text before the name separator, the value the text after it. Pairs
// with an empty name are dropped; text without a name separator ends the list. No
// percent-decoding is done.
std::vector<StringPair> parsePairs(std::wstring_view text, wchar_t pairSeparator,
                                   wchar_t nameSeparator);

}  // namespace common
