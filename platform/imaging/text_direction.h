// The direction a text starts in, as the Unicode bidirectional algorithm reads it (FriBidi's
// character types): the type of its first strongly directional character, which is what a
// paragraph of direction "auto" takes.
//
// Contract: a pure function, thread-safe.
#pragma once

#include <string_view>

namespace platform::imaging {

enum class StrongDirection { none, leftToRight, rightToLeft };

StrongDirection firstStrongDirection(std::wstring_view text);

}  // namespace platform::imaging
