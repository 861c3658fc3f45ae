// CSS colour values as the page's styles give them: "#rgb", "#rrggbb", "rgb(r, g, b)"
// (numbers or percentages), "transparent" and the named colours of HTML 4 with the common
// CSS additions.
//
// Contract: a pure function, thread-safe. Names are compared without case.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace addon {

// 0xAARRGGBB (alpha 0 for "transparent", 0xFF otherwise); nothing for a value that is no
// colour ("", "inherit", a system colour, a malformed text).
std::optional<std::uint32_t> parseCssColour(std::wstring_view value);

}  // namespace addon
