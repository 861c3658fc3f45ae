// SearchPlanT: what a search may skip, worked out once from a compiled pattern: a literal
// run every match contains (no match at all when the text lacks it) and, left to right,
// an anchor (only the search start, or only line starts for a leading ".*"), a literal
// prefix to find with a string search, the set of characters a match can begin with, and
// a leading unbounded run of single characters that a failed attempt need not rescan.
// Immutable after construction.
#pragma once

#include <string>
#include <string_view>

#include "common/regex/pattern_builder.h"
#include "common/regex/regex_flags.h"

namespace common {

template <class CharT>
struct SearchPlanT {
    enum class Anchor { None, SearchStart, LineStarts };

    Anchor anchor = Anchor::None;
    std::basic_string<CharT> prefix;
    std::basic_string<CharT> required;
    FirstCharacters first;
    bool filterFirst = false;
    // A leading greedy repetition of a single-character body without a maximum. When an
    // attempt at p fails, an attempt at any later start inside the run that began at p
    // would try what follows at a subset of the same positions, so it fails too.
    const CGreedyNodeT<CharT>* leadRun = nullptr;

    SearchPlanT(const CPatternBuilderT<CharT>& builder, const MatchNode<CharT>* top, int flags) {
        if (top != nullptr)
            required = top->requiredRun();
        if (top == nullptr || (flags & REGEX_RIGHT_TO_LEFT))
            return;
        const MatchNode<CharT>* lead = top;
        if (const auto* list = dynamic_cast<const CListNodeT<CharT>*>(top))
            lead = list->nodes().empty() ? nullptr : list->nodes().front();
        if (dynamic_cast<const CGlobalNodeT<CharT>*>(lead) != nullptr)
            anchor = Anchor::SearchStart;
        if (const auto* boundary = dynamic_cast<const CBoundaryNodeT<CharT>*>(lead))
            if (boundary->kind() == BoundaryKind::TextStart)
                anchor = Anchor::SearchStart;
        if (const auto* greedy = dynamic_cast<const CGreedyNodeT<CharT>*>(lead)) {
            bool matchesLineFeed = false;
            if (greedy->minimum() == 0 && greedy->maximum() == kUnbounded &&
                builder.isAnyCharacter(greedy->body(), matchesLineFeed))
                anchor = matchesLineFeed ? Anchor::SearchStart : Anchor::LineStarts;
            if (greedy->maximum() == kUnbounded && greedy->body()->isSingleCharacter())
                leadRun = greedy;
        }
        if (const auto* literal = dynamic_cast<const CStringNodeT<CharT>*>(lead))
            if (!literal->ignoresCase())
                prefix = literal->run();
        filterFirst = !top->addFirstCharacters(first) && !first.isEverything();
    }

    // Whether the required run occurs where a match may lie: from start on, or before
    // start for a right-to-left search. The characters read are charged to the state.
    bool requiredPresent(CMatchStateT<CharT>& state, int start, bool rightToLeft) const {
        if (required.empty())
            return true;
        const std::basic_string_view<CharT> view(state.text,
                                                 static_cast<std::size_t>(state.length));
        const auto split = static_cast<std::size_t>(start);
        const auto area = rightToLeft ? view.substr(0, split) : view.substr(split);
        const auto found = area.find(required);
        state.charge(static_cast<long long>(found == area.npos ? area.size() : found));
        return found != area.npos;
    }

    // The first position from position on where a match may start, or -1.
    int candidate(const CharT* text, int length, int start, int position) const {
        const std::basic_string_view<CharT> view(text, static_cast<std::size_t>(length));
        if (anchor == Anchor::LineStarts && position != start && text[position - 1] != '\n') {
            const auto lineFeed = view.find(CharT('\n'), static_cast<std::size_t>(position));
            if (lineFeed == view.npos)
                return -1;
            position = static_cast<int>(lineFeed) + 1;
        }
        if (!prefix.empty()) {
            const auto found = view.find(prefix, static_cast<std::size_t>(position));
            return found == view.npos ? -1 : static_cast<int>(found);
        }
        if (filterFirst) {
            while (position < length && !first.containsCode(RegexChar<CharT>::code(text[position])))
                ++position;
            if (position == length)
                return -1;
        }
        return position;
    }
};

}  // namespace common
