// Walks the selector preludes of a style sheet's text without parsing its rules: the text
// before each "{" that opens a declaration block. At-rule groups (@media ...) are stepped
// into, so the rules inside them are visited too; comments are stepped over. A ";" ends
// only an at-rule statement (@import ...;): inside a rule's prelude it is part of the
// prelude, as a browser reads it, so "a &gt; b {...}" or "x{}; b {...}" gives a prelude
// holding the ";", which no selector parse accepts. Stateless.
#pragma once

#include <cstddef>
#include <string_view>

namespace platform::dom {

// Calls `visit(begin, end)` with the offsets of each prelude, in order, until it returns
// false; returns false when a visit stopped the walk.
template <class Visit>
bool forEachRulePrelude(std::string_view css, Visit visit) {
    std::size_t preludeStart = 0;
    int depth = 0;  // inside a declaration block
    for (std::size_t i = 0; i < css.size(); ++i) {
        const char c = css[i];
        if (c == '/' && i + 1 < css.size() && css[i + 1] == '*') {
            const std::size_t end = css.find("*/", i + 2);
            i = end == std::string_view::npos ? css.size() - 1 : end + 1;
            continue;
        }
        if (depth > 0) {
            depth += c == '{' ? 1 : c == '}' ? -1 : 0;
            if (depth == 0)
                preludeStart = i + 1;
            continue;
        }
        if (c == '}') {
            preludeStart = i + 1;
        } else if (c == ';') {
            const std::string_view prelude = css.substr(preludeStart, i - preludeStart);
            const auto first = prelude.find_first_not_of(" \t\r\n");
            if (first != std::string_view::npos && prelude[first] == '@')
                preludeStart = i + 1;
        } else if (c == '{') {
            const std::string_view prelude = css.substr(preludeStart, i - preludeStart);
            const auto first = prelude.find_first_not_of(" \t\r\n");
            if (first == std::string_view::npos || prelude[first] != '@') {
                if (!visit(preludeStart, i))
                    return false;
                depth = 1;
            }
            preludeStart = i + 1;
        }
    }
    return true;
}

}  // namespace platform::dom
