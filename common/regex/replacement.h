// Expansion of a replacement template for CPatternT::replace. The tokens are found with a
// fixed pattern compiled once per character type on first use (thread-safe static
// initialisation) and kept for the life of the process.
#pragma once

#include <string>
#include <string_view>

#include "common/regex/pattern.h"

namespace common {

template <class CharT, class GroupByName>
std::basic_string<CharT> expandReplacement(std::basic_string_view<CharT> replacement,
                                           std::basic_string_view<CharT> text,
                                           const CMatchInfo& found, GroupByName groupByName) {
    using View = std::basic_string_view<CharT>;
    static const std::string_view source = "\\$(?:[$&`'+_\\d]|\\{.*?\\})";
    static const CPatternT<CharT> tokens(std::basic_string<CharT>(source.begin(), source.end()));
    const int groups = found.groupCount();
    std::basic_string<CharT> out;
    const auto appendGroup = [&](int group) {
        if (found.groupMatched(group))
            out.append(text.substr(
                static_cast<std::size_t>(found.groupStart(group)),
                static_cast<std::size_t>(found.groupEnd(group) - found.groupStart(group))));
    };
    const auto piece = [&](int from, int to) {
        return replacement.substr(static_cast<std::size_t>(from),
                                  static_cast<std::size_t>(to - from));
    };
    CMatchStateT<CharT> state;
    int copied = 0;
    for (CMatchInfo token = tokens.match(replacement, 0, &state); token;
         token = tokens.match(replacement, state.nextStart(), &state)) {
        const int at = token.groupStart(0);
        const int end = token.groupEnd(0);
        out.append(piece(copied, at));
        copied = end;
        const CharT kind = replacement[static_cast<std::size_t>(at + 1)];
        switch (kind) {
            case '$':
                out.push_back('$');
                break;
            case '&':
                appendGroup(0);
                break;
            case '`':
                out.append(text.substr(0, static_cast<std::size_t>(found.groupStart(0))));
                break;
            case '\'':
                out.append(text.substr(static_cast<std::size_t>(found.groupEnd(0))));
                break;
            case '_':
                out.append(text);
                break;
            case '+': {
                int group = groups;
                while (group > 0 && !found.groupMatched(group))
                    --group;
                appendGroup(group);
                break;
            }
            case '{': {
                const View name = piece(at + 2, end - 1);
                int group;
                bool digits = !name.empty() && name.size() <= 5;
                for (CharT c : name)
                    digits = digits && c >= '0' && c <= '9';
                if (digits) {
                    group = 0;
                    for (CharT c : name)
                        group = group * 10 + static_cast<int>(c - '0');
                } else {
                    group = groupByName(name);
                }
                if (group < 0 || group > groups)
                    out.append(piece(at, end));
                else
                    appendGroup(group);
                break;
            }
            default: {  // digits
                int value = 0;
                int digits = 0;
                while (digits < 3 && at + 1 + digits < static_cast<int>(replacement.size())) {
                    const CharT c = replacement[static_cast<std::size_t>(at + 1 + digits)];
                    if (c < '0' || c > '9')
                        break;
                    value = value * 10 + static_cast<int>(c - '0');
                    ++digits;
                }
                while (digits > 0 && value > groups) {
                    value /= 10;
                    --digits;
                }
                if (digits == 0) {
                    out.append(piece(at, end));
                } else {
                    appendGroup(value);
                    copied = at + 1 + digits;
                }
                break;
            }
        }
    }
    out.append(replacement.substr(static_cast<std::size_t>(copied)));
    return out;
}

}  // namespace common
