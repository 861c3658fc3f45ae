// Reading CSS text: declaration blocks ("color: red; margin: 0 !important") and style
// sheets (rules, "@media" blocks for the screen, other at-rules skipped).
//
// Contract: never throws on content; what cannot be read is skipped, as browsers do.
// Property names come out in lower case; values are trimmed and otherwise kept as
// written. Pure functions, thread-safe.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/dom/style/selector.h"

namespace platform::dom {

struct Declaration {
    std::wstring name;
    std::wstring value;
    bool important = false;
};

struct StyleRule {
    std::vector<Selector> selectors;
    std::vector<Declaration> declarations;
};

std::vector<Declaration> parseDeclarations(std::wstring_view text);
// The first of the characters in `wanted` at nesting depth 0 (outside brackets,
// parentheses, braces and quotes), from `from`; npos when there is none.
std::size_t findTopLevel(std::wstring_view text, std::size_t from, std::wstring_view wanted);
// "name: value; name: value" in the given order.
std::wstring serializeDeclarations(const std::vector<Declaration>& declarations);
std::vector<StyleRule> parseStyleSheet(std::wstring_view text);
// True for an empty media list and for lists that name "screen" or "all".
bool mediaAppliesToScreen(std::wstring_view media);

}  // namespace platform::dom
