// Helpers shared by the regular-expression tests: running one pattern over narrow and wide
// text and rendering a match as its group bounds.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/regex/pattern.h"

namespace common::testing {

inline std::wstring widen(std::string_view text) {
    return std::wstring(text.begin(), text.end());
}

// Group bounds of a match as {start0, end0, start1, end1, ...}; empty without a match.
inline std::vector<int> bounds(const CMatchInfo& info) {
    std::vector<int> out;
    for (int group = 0; group <= info.groupCount(); ++group) {
        out.push_back(info.groupStart(group));
        out.push_back(info.groupEnd(group));
    }
    return out;
}

inline std::vector<int> searchNarrow(std::string_view pattern, int flags, std::string_view text) {
    return bounds(CPatternA(pattern, flags).match(text));
}

inline std::vector<int> searchWide(std::string_view pattern, int flags, std::string_view text) {
    return bounds(CPattern(widen(pattern), flags).match(widen(text)));
}

}  // namespace common::testing
