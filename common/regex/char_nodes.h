// Matcher nodes that read characters or test a position: the empty node, literal runs,
// character classes (CRangeNodeT, CPosixNodeT), anchors and word boundaries
// (CBoundaryNodeT) and the search-start anchor (CGlobalNodeT). Each reads forwards, or
// with rightToLeft the characters before the position. Immutable after construction.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "common/regex/match_node.h"

namespace common {

template <class CharT>
class CEmptyNodeT : public MatchNode<CharT> {
  public:
    bool Match(CMatchStateT<CharT>&) const override { return true; }
    bool MatchNext(CMatchStateT<CharT>&) const override { return false; }
    bool addFirstCharacters(FirstCharacters&) const override { return true; }
};

// A literal run; with ignoreCase two characters are equal when their upper cases are.
template <class CharT>
class CStringNodeT : public MatchNode<CharT> {
  public:
    CStringNodeT(std::basic_string<CharT> run, bool ignoreCase, bool rightToLeft)
        : m_run(std::move(run)), m_ignoreCase(ignoreCase), m_rightToLeft(rightToLeft) {}

    bool Match(CMatchStateT<CharT>& state) const override {
        const int n = static_cast<int>(m_run.size());
        const CharT* at;
        if (m_rightToLeft) {
            if (state.position < n)
                return false;
            at = state.text + state.position - n;
        } else {
            if (state.length - state.position < n)
                return false;
            at = state.text + state.position;
        }
        if (!equalRun(at))
            return false;
        state.position += m_rightToLeft ? -n : n;
        return true;
    }
    bool MatchNext(CMatchStateT<CharT>& state) const override {
        const int n = static_cast<int>(m_run.size());
        state.position += m_rightToLeft ? n : -n;
        return false;
    }
    bool addFirstCharacters(FirstCharacters& first) const override {
        addFirstCharacter(first, m_run[m_rightToLeft ? m_run.size() - 1 : 0], m_ignoreCase);
        return false;
    }
    std::basic_string_view<CharT> requiredRun() const override {
        return m_ignoreCase ? std::basic_string_view<CharT>() : m_run;
    }
    bool isSingleCharacter() const override { return m_run.size() == 1; }
    bool acceptsCharacter(CharT c) const override {
        return m_ignoreCase ? equalIgnoringCase(c, m_run[0]) : c == m_run[0];
    }

    const std::basic_string<CharT>& run() const { return m_run; }
    bool ignoresCase() const { return m_ignoreCase; }

  private:
    bool equalRun(const CharT* at) const {
        if (!m_ignoreCase)
            return std::char_traits<CharT>::compare(at, m_run.data(), m_run.size()) == 0;
        for (std::size_t i = 0; i < m_run.size(); ++i)
            if (!equalIgnoringCase(at[i], m_run[i]))
                return false;
        return true;
    }

    std::basic_string<CharT> m_run;
    bool m_ignoreCase;
    bool m_rightToLeft;
};

// Base of the nodes that consume one character of a set.
template <class CharT>
class CClassNodeT : public MatchNode<CharT> {
  public:
    explicit CClassNodeT(bool rightToLeft) : m_rightToLeft(rightToLeft) {}

    virtual bool contains(CharT c) const = 0;
    // Whether some character with a code of 256 or more may be in the set.
    virtual bool mayContainHighCodes() const { return sizeof(CharT) > 1; }

    bool Match(CMatchStateT<CharT>& state) const override {
        if (m_rightToLeft) {
            if (state.position <= 0 || !contains(state.text[state.position - 1]))
                return false;
            --state.position;
        } else {
            if (state.position >= state.length || !contains(state.text[state.position]))
                return false;
            ++state.position;
        }
        return true;
    }
    bool MatchNext(CMatchStateT<CharT>& state) const override {
        state.position += m_rightToLeft ? 1 : -1;
        return false;
    }
    bool addFirstCharacters(FirstCharacters& first) const override {
        for (std::uint32_t code = 0; code < 256; ++code)
            if (contains(static_cast<CharT>(code)))
                first.low[code] = true;
        if (mayContainHighCodes())
            first.high = true;
        return false;
    }
    bool isSingleCharacter() const override { return true; }
    bool acceptsCharacter(CharT c) const override { return contains(c); }

  private:
    bool m_rightToLeft;
};

// One POSIX class ("[:digit:]"), possibly negated, classified by the C library.
template <class CharT>
class CPosixNodeT : public CClassNodeT<CharT> {
  public:
    CPosixNodeT(PosixClass kind, bool negated, bool rightToLeft)
        : CClassNodeT<CharT>(rightToLeft), m_kind(kind), m_negated(negated) {}

    bool contains(CharT c) const override {
        return RegexChar<CharT>::posix(m_kind, c) != m_negated;
    }

  private:
    PosixClass m_kind;
    bool m_negated;
};

// A character class: ranges, single characters and embedded classes, possibly negated.
// Membership of the codes below 256 is computed once by finish().
template <class CharT>
class CRangeNodeT : public CClassNodeT<CharT> {
  public:
    CRangeNodeT(bool positive, bool ignoreCase, bool rightToLeft)
        : CClassNodeT<CharT>(rightToLeft), m_positive(positive), m_ignoreCase(ignoreCase) {}

    void addRange(CharT low, CharT high) { m_ranges.emplace_back(low, high); }
    void addCharacter(CharT c) { m_singles.push_back(c); }
    void addClass(const CClassNodeT<CharT>* node) { m_classes.push_back(node); }
    void finish() {
        for (std::uint32_t code = 0; code < 256; ++code)
            m_lowCodes[code] = computeContains(static_cast<CharT>(code));
    }

    bool contains(CharT c) const override {
        const std::uint32_t code = RegexChar<CharT>::code(c);
        return code < 256 ? m_lowCodes[code] : computeContains(c);
    }
    const bool* characterTable() const override { return m_lowCodes.data(); }
    bool mayContainHighCodes() const override {
        if (sizeof(CharT) == 1)
            return false;
        if (!m_positive || m_ignoreCase)
            return true;
        for (const auto& [low, high] : m_ranges)
            if (RegexChar<CharT>::code(high) >= 256)
                return true;
        for (CharT c : m_singles)
            if (RegexChar<CharT>::code(c) >= 256)
                return true;
        for (const auto* node : m_classes)
            if (node->mayContainHighCodes())
                return true;
        return false;
    }

  private:
    bool computeContains(CharT c) const {
        bool inside = rawContains(c);
        if (!inside && m_ignoreCase)
            inside = rawContains(RegexChar<CharT>::toUpper(c)) ||
                     rawContains(RegexChar<CharT>::toLower(c));
        return inside == m_positive;
    }
    bool rawContains(CharT c) const {
        const std::uint32_t code = RegexChar<CharT>::code(c);
        for (const auto& [low, high] : m_ranges)
            if (code >= RegexChar<CharT>::code(low) && code <= RegexChar<CharT>::code(high))
                return true;
        for (CharT single : m_singles)
            if (single == c)
                return true;
        for (const auto* node : m_classes)
            if (node->contains(c))
                return true;
        return false;
    }

    std::vector<std::pair<CharT, CharT>> m_ranges;
    std::basic_string<CharT> m_singles;
    std::vector<const CClassNodeT<CharT>*> m_classes;
    bool m_positive;
    bool m_ignoreCase;
    std::array<bool, 256> m_lowCodes{};
};

enum class BoundaryKind {
    TextStart,            // "^", "\A"
    LineStart,            // "^" in multi-line mode
    TextEndOrFinalBreak,  // "$", "\Z"
    LineEnd,              // "$" in multi-line mode
    TextEnd,              // "\z"
    WordBoundary,         // "\b"
    NotWordBoundary,      // "\B"
};

template <class CharT>
class CBoundaryNodeT : public MatchNode<CharT> {
  public:
    explicit CBoundaryNodeT(BoundaryKind kind) : m_kind(kind) {}

    bool Match(CMatchStateT<CharT>& state) const override { return holds(state); }
    bool MatchNext(CMatchStateT<CharT>&) const override { return false; }
    bool addFirstCharacters(FirstCharacters&) const override { return true; }

    BoundaryKind kind() const { return m_kind; }

  private:
    bool holds(const CMatchStateT<CharT>& state) const {
        const CharT* text = state.text;
        const int pos = state.position;
        const int length = state.length;
        switch (m_kind) {
            case BoundaryKind::TextStart:
                return pos == 0;
            case BoundaryKind::LineStart:
                return pos == 0 || text[pos - 1] == '\n' ||
                       (text[pos - 1] == '\r' && (pos == length || text[pos] != '\n'));
            case BoundaryKind::TextEndOrFinalBreak:
                return pos == length || (pos == length - 1 && text[pos] == '\n') ||
                       (pos == length - 2 && text[pos] == '\r' && text[pos + 1] == '\n');
            case BoundaryKind::LineEnd:
                return pos == length || text[pos] == '\r' || text[pos] == '\n';
            case BoundaryKind::TextEnd:
                return pos == length;
            case BoundaryKind::WordBoundary:
                return wordBefore(state) != wordAfter(state);
            case BoundaryKind::NotWordBoundary:
                return wordBefore(state) == wordAfter(state);
        }
        return false;
    }
    static bool wordBefore(const CMatchStateT<CharT>& state) {
        return state.position > 0 &&
               isRegexWord(RegexChar<CharT>::code(state.text[state.position - 1]));
    }
    static bool wordAfter(const CMatchStateT<CharT>& state) {
        return state.position < state.length &&
               isRegexWord(RegexChar<CharT>::code(state.text[state.position]));
    }

    BoundaryKind m_kind;
};

// "\G": the position where the search started.
template <class CharT>
class CGlobalNodeT : public MatchNode<CharT> {
  public:
    bool Match(CMatchStateT<CharT>& state) const override {
        return state.position == state.searchStart;
    }
    bool MatchNext(CMatchStateT<CharT>&) const override { return false; }
    bool addFirstCharacters(FirstCharacters&) const override { return true; }
};

}  // namespace common
