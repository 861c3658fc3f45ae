// The white space of HTML and CSS (space, tab, line feed, carriage return, form feed), and
// text trimmed of it. Pure functions.
#pragma once

#include <string_view>

namespace platform::text {

// Bytes of UTF-8 text may be passed: those of other characters are never white space.
constexpr bool isHtmlSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\f';
}

constexpr std::string_view trimHtmlSpace(std::string_view text) {
    while (!text.empty() && isHtmlSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isHtmlSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

}  // namespace platform::text
