#include "common/regex/pattern.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "common/regex/pattern_builder.h"
#include "common/regex/replacement.h"
#include "common/regex/search_plan.h"

namespace common {

template <class CharT>
CPatternT<CharT>::CPatternT(View pattern, int flags)
    : m_builder(std::make_unique<CPatternBuilderT<CharT>>()), m_flags(flags) {
    m_top = m_builder->build(pattern, flags);
    m_plan = std::make_unique<SearchPlanT<CharT>>(*m_builder, m_top, flags);
}

template <class CharT>
CPatternT<CharT>::~CPatternT() = default;

template <class CharT>
int CPatternT<CharT>::groupCount() const {
    return m_builder->groupCount();
}

template <class CharT>
int CPatternT<CharT>::groupNumber(View name) const {
    return m_builder->groupNumber(name);
}

template <class CharT>
bool CPatternT<CharT>::prepare(State& state, View text) const {
    if (text.size() >= static_cast<std::size_t>(INT_MAX)) {
        state.abort();
        return false;
    }
    state.bind(text.data(), static_cast<int>(text.size()));
    state.captures.assign(static_cast<std::size_t>(2 * (groupCount() + 1)), -1);
    return m_top != nullptr;
}

template <class CharT>
CMatchInfo CPatternT<CharT>::match(View text, int start, State* state) const {
    return search(text, start, state, false);
}

template <class CharT>
CMatchInfo CPatternT<CharT>::matchWhole(View text, State* state) const {
    return search(text, -1, state, true);
}

template <class CharT>
CMatchInfo CPatternT<CharT>::search(View text, int start, State* state, bool whole) const {
    State local;
    State& s = state != nullptr ? *state : local;
    const char stackBase = 0;
    s.nativeStackBase = &stackBase;
    if (!prepare(s, text))
        return s.aborted ? CMatchInfo::tooComplexResult() : CMatchInfo();
    const bool rightToLeft = (m_flags & REGEX_RIGHT_TO_LEFT) != 0;
    if (start < 0 || whole)
        start = rightToLeft ? s.length : 0;
    if (start > s.length)
        return {};
    s.searchStart = start;
    if (!m_plan->requiredPresent(s, start, rightToLeft))
        return s.aborted ? CMatchInfo::tooComplexResult() : CMatchInfo();
    const int step = rightToLeft ? -1 : 1;
    const int stop = rightToLeft ? -1 : s.length + 1;
    for (int position = start; position != stop; position += step) {
        if (!rightToLeft && !whole) {
            const int from = position;
            position = m_plan->candidate(s.text, s.length, start, position);
            if (!s.charge((position < 0 ? s.length : position) - from))
                return CMatchInfo::tooComplexResult();
            if (position < 0)
                break;
        }
        if (attempt(s, position, whole))
            return accept(s, position);
        if (s.aborted || !s.tick())
            return CMatchInfo::tooComplexResult();
        if (whole || m_plan->anchor == SearchPlanT<CharT>::Anchor::SearchStart)
            break;
        position = skipFailedRun(s, position);
        if (s.aborted)
            return CMatchInfo::tooComplexResult();
    }
    return {};
}

template <class CharT>
int CPatternT<CharT>::skipFailedRun(State& state, int position) const {
    // An attempt rejected only for an empty match where the last one ended did not fail.
    if (m_plan->leadRun == nullptr || position == state.previousEnd)
        return position;
    state.position = position;
    const int run = regex_detail::scanRun(*m_plan->leadRun->body(), state, kUnbounded, false);
    return position + run;
}

template <class CharT>
bool CPatternT<CharT>::attempt(State& state, int position, bool whole) const {
    state.stack.clear();
    std::fill(state.captures.begin(), state.captures.end(), -1);
    state.groupStart(0) = position;
    state.groupEnd(0) = position;
    state.position = position;
    const bool rightToLeft = (m_flags & REGEX_RIGHT_TO_LEFT) != 0;
    const int goal = rightToLeft ? 0 : state.length;
    for (bool matched = m_top->Match(state); matched && !state.aborted;
         matched = state.tick() && m_top->MatchNext(state)) {
        if (!whole)
            return !(state.position == position && position == state.previousEnd);
        if (state.position == goal)
            return true;
    }
    return false;
}

template <class CharT>
CMatchInfo CPatternT<CharT>::accept(State& state, int position) const {
    const int end = state.position;
    const bool rightToLeft = (m_flags & REGEX_RIGHT_TO_LEFT) != 0;
    state.groupStart(0) = rightToLeft ? end : position;
    state.groupEnd(0) = rightToLeft ? position : end;
    state.previousEnd = end;
    state.next = end;
    std::vector<int> values;
    values.reserve(state.captures.size() + 2);
    values.push_back(1);
    values.push_back(groupCount());
    for (int group = 0; group <= groupCount(); ++group) {
        const int groupStart = state.groupStart(group);
        const int groupEnd = state.groupEnd(group);
        const bool tookPart = groupStart >= 0 && groupEnd >= 0;
        values.push_back(tookPart ? groupStart : -1);
        values.push_back(tookPart ? groupEnd : -1);
    }
    return CMatchInfo(std::move(values));
}

template <class CharT>
typename CPatternT<CharT>::String CPatternT<CharT>::replace(View text, View replacement, int start,
                                                            int count, CReplaceInfo* result,
                                                            State* state) const {
    struct Piece {
        int from;
        int to;
        String text;
    };
    State local;
    State& s = state != nullptr ? *state : local;
    std::vector<Piece> pieces;
    bool tooComplex = false;
    for (int position = start; count < 0 || static_cast<int>(pieces.size()) < count;
         position = s.nextStart()) {
        const CMatchInfo found = match(text, position, &s);
        tooComplex = found.tooComplex();
        if (!found)
            break;
        pieces.push_back(
            {found.groupStart(0), found.groupEnd(0), expand(replacement, text, found)});
    }
    const std::size_t last = pieces.size();
    std::vector<std::size_t> order(pieces.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    if (m_flags & REGEX_RIGHT_TO_LEFT)
        std::reverse(order.begin(), order.end());
    String out;
    int copied = 0;
    int lastPosition = -1;
    for (std::size_t index : order) {
        const Piece& piece = pieces[index];
        out.append(text.substr(static_cast<std::size_t>(copied),
                               static_cast<std::size_t>(piece.from - copied)));
        if (index + 1 == last)
            lastPosition = static_cast<int>(out.size());
        out.append(piece.text);
        copied = piece.to;
    }
    out.append(text.substr(static_cast<std::size_t>(copied)));
    if (result != nullptr)
        *result = {static_cast<int>(out.size()), static_cast<int>(pieces.size()), lastPosition,
                   tooComplex};
    return out;
}

template <class CharT>
typename CPatternT<CharT>::String CPatternT<CharT>::expand(View replacement, View text,
                                                           const CMatchInfo& found) const {
    return expandReplacement(replacement, text, found,
                             [this](View name) { return groupNumber(name); });
}

template class CPatternT<char>;
template class CPatternT<wchar_t>;

}  // namespace common
