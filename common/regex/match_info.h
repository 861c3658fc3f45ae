// CMatchInfo: the result of one match. As an int array: [0] is 1 when the pattern matched
// (the array is empty otherwise), [1] the highest group number, then for each group from 0
// (the whole match) to the highest its start and end position (end exclusive), -1 and -1
// for a group that took no part. Positions count characters (bytes in narrow text) from
// the start of the text. tooComplex() tells that the search gave up over a limit rather
// than finding no match. A plain value.
#pragma once

#include <utility>
#include <vector>

namespace common {

class CMatchInfo {
  public:
    CMatchInfo() = default;
    explicit CMatchInfo(std::vector<int> values) : m_values(std::move(values)) {}
    static CMatchInfo tooComplexResult() {
        CMatchInfo info;
        info.m_tooComplex = true;
        return info;
    }

    bool matched() const { return !m_values.empty() && m_values[0] == 1; }
    explicit operator bool() const { return matched(); }
    bool tooComplex() const { return m_tooComplex; }

    // The highest group number, or -1 without a match.
    int groupCount() const { return matched() ? m_values[1] : -1; }
    // Bounds of group n, or -1 for a group outside the array or one that took no part.
    int groupStart(int n) const { return bound(n, 0); }
    int groupEnd(int n) const { return bound(n, 1); }
    bool groupMatched(int n) const { return groupStart(n) >= 0; }

    const std::vector<int>& values() const { return m_values; }

  private:
    int bound(int n, int side) const {
        if (n < 0 || n > groupCount())
            return -1;
        return m_values[static_cast<std::size_t>(2 + 2 * n + side)];
    }

    std::vector<int> m_values;
    bool m_tooComplex = false;
};

// What CPatternT::replace did: the length of the new text, the number of replacements and
// where the piece put in for the last match found starts in the new text (-1 without one).
struct CReplaceInfo {
    int length = 0;
    int count = 0;
    int lastPosition = -1;
    bool tooComplex = false;
};

}  // namespace common
