// Reading CSS values as pixels, shared by the layout and the geometry members.
//
// Contract: pure functions, thread-safe; never throw on content.
#pragma once

#include <string_view>

namespace platform::dom {

class ComputedStyle;

inline constexpr int kPixelsPerEm = 16;

// "px", "pt", "em", "ex", "in", "cm", "mm", "%" of `base`, unitless 0 and the border
// keywords thin, medium and thick; `fallback` for "auto" and anything unreadable.
int toPixels(std::wstring_view value, int base, int fallback);

enum class BoxSide { Top, Right, Bottom, Left };
// The border width of one side: 0 when its style is "none" or "hidden".
int borderPixels(const ComputedStyle& style, BoxSide side);

}  // namespace platform::dom
