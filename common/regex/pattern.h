// CPatternT: a compiled regular expression over wide (CPattern) or narrow byte (CPatternA)
// text, with search, whole-text match and replacement. Construction compiles the pattern;
// the compiled pattern is immutable, so one object may be used by several threads at once
// as long as each search has its own CMatchStateT (or none). Malformed pieces of a pattern
// are read as literal text; a pattern that cannot be compiled at all (nested too deeply)
// (nested too deeply, or a repetition count too large for an int) is not valid and never
// matches. A search that runs over its work budget, the recursion
// bound or the backtracking-stack bound gives no match with tooComplex() set instead of
// exhausting the machine.
//
//   CPatternA pattern("text/html\\s*;\\s*charset\\b\\s*=\\s*(?<charset>[^\"]*)",
//   REGEX_IGNORE_CASE); CMatchInfo found = pattern.match(bytes);          // first match anywhere
//   CPattern page(L"//tamrix/item\\?.*");
//   bool served = page.matchWhole(url).matched();   // the whole text must match
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "common/regex/match_info.h"
#include "common/regex/match_state.h"
#include "common/regex/regex_flags.h"

namespace common {

template <class CharT>
class CPatternBuilderT;
template <class CharT>
class MatchNode;
template <class CharT>
struct SearchPlanT;

template <class CharT>
class CPatternT {
  public:
    using String = std::basic_string<CharT>;
    using View = std::basic_string_view<CharT>;
    using State = CMatchStateT<CharT>;

    // Compiles pattern with the RegexFlag bits in flags.
    explicit CPatternT(View pattern, int flags = 0);
    ~CPatternT();
    CPatternT(const CPatternT&) = delete;
    CPatternT& operator=(const CPatternT&) = delete;

    bool isValid() const { return m_top != nullptr; }
    int flags() const { return m_flags; }
    // The number of capture groups (the highest group number).
    int groupCount() const;
    // The number of the named group, or -1.
    int groupNumber(View name) const;

    // Finds the first match at or after start (before it for a right-to-left pattern). A
    // negative start means the start of the text (its end for right to left). A state
    // passed in receives where the match ended, so passing state->nextStart() next time
    // continues the search; an empty match where the previous one ended is skipped.
    CMatchInfo match(View text, int start = -1, State* state = nullptr) const;
    // Matches the whole text: the match must start at the text's start and end at its end,
    // backtracking into other alternatives until one does ("a|ab" matches all of "ab").
    CMatchInfo matchWhole(View text, State* state = nullptr) const;
    // Replaces every match from start on (at most count of them; a negative count means
    // all) by replacement with its tokens expanded: "$$" a dollar, "$&" the match, "$`" the
    // text before it, "$'" the text after it, "$_" the whole text, "$+" the last group that
    // took part, "$n" (up to three digits, shortened while above the group count) and
    // "${name}" a group. The rest of the text is copied unchanged.
    String replace(View text, View replacement, int start = -1, int count = -1,
                   CReplaceInfo* result = nullptr, State* state = nullptr) const;

  private:
    CMatchInfo search(View text, int start, State* state, bool whole) const;
    bool prepare(State& state, View text) const;
    bool attempt(State& state, int position, bool whole) const;
    // After a failed attempt at position: the last start inside the leading run that began
    // there, which the search loop steps past (position itself without such a run).
    int skipFailedRun(State& state, int position) const;
    CMatchInfo accept(State& state, int position) const;
    String expand(View replacement, View text, const CMatchInfo& found) const;

    std::unique_ptr<CPatternBuilderT<CharT>> m_builder;
    std::unique_ptr<SearchPlanT<CharT>> m_plan;
    int m_flags;
    const MatchNode<CharT>* m_top;
};

using CPattern = CPatternT<wchar_t>;
using CPatternA = CPatternT<char>;

extern template class CPatternT<char>;
extern template class CPatternT<wchar_t>;

}  // namespace common
