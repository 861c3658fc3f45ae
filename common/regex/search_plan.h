// SearchPlanT: what a search may skip, worked out once from a compiled pattern: a literal
// run every match contains and the character classes every match holds a character of (no
// match at all when the text lacks one of them) and, left to right,
// an anchor (only the search start, or only line starts for a leading ".*"), a literal
// prefix to find with a string search (a case-blind one through the library's character
// search for its first character), the set of characters a match can begin with, and
// a leading unbounded run of single characters that a failed attempt need not rescan.
// Immutable after construction.
#pragma once

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "common/regex/pattern_builder.h"
#include "common/regex/regex_flags.h"

namespace common {

template <class CharT>
struct SearchPlanT {
    enum class Anchor { None, SearchStart, LineStarts };

    Anchor anchor = Anchor::None;
    std::basic_string<CharT> prefix;
    std::basic_string<CharT> required;
    // Each is looked for once per search; a few catch the patterns that fail slowly.
    static constexpr std::size_t kMaxRequiredClasses = 8;
    std::vector<const MatchNode<CharT>*> requiredClasses;
    FirstCharacters first;
    bool filterFirst = false;
    // A leading greedy repetition of a single-character body without a maximum. When an
    // attempt at p fails, an attempt at any later start inside the run that began at p
    // would try what follows at a subset of the same positions, so it fails too.
    const CGreedyNodeT<CharT>* leadRun = nullptr;

    SearchPlanT(const CPatternBuilderT<CharT>& builder, const MatchNode<CharT>* top, int flags) {
        if (top != nullptr) {
            required = top->requiredRun();
            addSingleOrRequired(*top, requiredClasses);
            if (requiredClasses.size() > kMaxRequiredClasses)
                requiredClasses.resize(kMaxRequiredClasses);
        }
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
        if (const auto* literal = dynamic_cast<const CStringNodeT<CharT>*>(lead)) {
            if (!literal->ignoresCase())
                prefix = literal->run();
            else
                foldPrefix(literal->run());
        }
        filterFirst = !top->addFirstCharacters(first) && !first.isEverything();
    }

    // Whether the required run and a character of each required class occur where a match
    // may lie: from start on, or before start for a right-to-left search. The characters
    // read are charged to the state.
    bool requiredPresent(CMatchStateT<CharT>& state, int start, bool rightToLeft) const {
        const std::basic_string_view<CharT> view(state.text,
                                                 static_cast<std::size_t>(state.length));
        const auto split = static_cast<std::size_t>(start);
        const auto area = rightToLeft ? view.substr(0, split) : view.substr(split);
        const auto seen = [&](std::size_t found) {
            state.charge(static_cast<long long>(found == area.npos ? area.size() : found));
            return found != area.npos;
        };
        if (!required.empty() && !seen(area.find(required)))
            return false;
        for (const auto* single : requiredClasses)
            if (!seen(findAccepted(*single, area)))
                return false;
        return true;
    }

    // The index of the first character in area that the single-character node accepts.
    static std::size_t findAccepted(const MatchNode<CharT>& single,
                                    std::basic_string_view<CharT> area) {
        const bool* table = single.characterTable();
        for (std::size_t i = 0; i < area.size(); ++i) {
            const std::uint32_t code = RegexChar<CharT>::code(area[i]);
            if (table != nullptr && code < 256 ? table[code] : single.acceptsCharacter(area[i]))
                return i;
        }
        return area.npos;
    }

    // A leading literal run compared without regard to case: its characters upper-cased,
    // and, in narrow text, the characters that can stand for its first one when there are
    // at most two of them (then the search looks for each with the library's search).
    std::basic_string<CharT> foldedPrefix;
    std::basic_string<CharT> firstForms;
    std::array<CharT, 256> upper{};

    CharT upperOf(CharT c) const {
        const std::uint32_t code = RegexChar<CharT>::code(c);
        return code < 256 ? upper[code] : RegexChar<CharT>::toUpper(c);
    }

    void foldPrefix(std::basic_string_view<CharT> run) {
        if (run.empty())
            return;
        for (std::uint32_t code = 0; code < 256; ++code)
            upper[code] = RegexChar<CharT>::toUpper(static_cast<CharT>(code));
        for (const CharT c : run)
            foldedPrefix += upperOf(c);
        // Narrow text only: every byte's upper case is in the table, so the forms found are
        // all there are (wide text has characters above 255 that fold onto letters).
        if constexpr (sizeof(CharT) == 1) {
            for (std::uint32_t code = 0; code < 256 && firstForms.size() <= 2; ++code)
                if (upper[code] == foldedPrefix.front())
                    firstForms += static_cast<CharT>(code);
            if (firstForms.size() > 2)
                firstForms.clear();  // more forms than a plain character search handles
        }
    }

    bool foldedAt(std::basic_string_view<CharT> view, std::size_t at) const {
        if (view.size() - at < foldedPrefix.size())
            return false;
        for (std::size_t i = 0; i < foldedPrefix.size(); ++i)
            if (view[at + i] != foldedPrefix[i] && upperOf(view[at + i]) != foldedPrefix[i])
                return false;
        return true;
    }

    // The first position from `position` on where the folded prefix stands, or -1.
    int foldedCandidate(std::basic_string_view<CharT> view, std::size_t position) const {
        if (firstForms.empty()) {
            for (; position < view.size(); ++position)
                if (foldedAt(view, position))
                    return static_cast<int>(position);
            return -1;
        }
        // The next place of each form of the first character, found again only once the
        // search has passed it.
        std::size_t next[2] = {
            view.find(firstForms[0], position),
            firstForms.size() > 1 ? view.find(firstForms[1], position) : view.npos};
        for (;;) {
            const std::size_t at = std::min(next[0], next[1]);
            if (at == view.npos)
                return -1;
            if (foldedAt(view, at))
                return static_cast<int>(at);
            for (std::size_t form = 0; form < firstForms.size(); ++form)
                if (next[form] == at)
                    next[form] = view.find(firstForms[form], at + 1);
        }
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
        if (!foldedPrefix.empty())
            return foldedCandidate(view, static_cast<std::size_t>(position));
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
