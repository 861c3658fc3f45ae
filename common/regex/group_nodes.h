// Group-like matcher nodes: look-ahead and look-behind (CAssertNodeT), atomic groups
// (CIndependentNodeT), back-references (CBackrefNodeT), recursion into a group or the
// whole pattern (CDelegateNodeT) and conditionals (CConditionNodeT). Group numbers and
// recursion targets named in the pattern are resolved by the builder after parsing; an
// unresolved one never matches.
#pragma once

#include <cstdint>

#include "common/regex/repeat_nodes.h"

namespace common {

template <class CharT>
class CAssertNodeT : public MatchNode<CharT> {
  public:
    // body is compiled in the assertion's direction (right to left for a look-behind);
    // captures tells whether it holds capture groups.
    CAssertNodeT(const MatchNode<CharT>* body, bool negative, bool captures)
        : m_body(body), m_negative(negative), m_captures(captures) {}

    bool Match(CMatchStateT<CharT>& state) const override {
        const int start = state.position;
        if (m_captures)
            state.pushCaptures();
        const std::size_t mark = state.mark();
        const bool bodyMatched = m_body->Match(state);
        if (state.aborted)
            return false;
        if (bodyMatched) {
            state.truncate(mark);
            state.position = start;
        }
        if (bodyMatched != m_negative) {
            if (m_negative && m_captures)
                state.dropCaptures();
            return true;
        }
        if (m_captures) {
            if (bodyMatched)
                state.popCaptures();
            else
                state.dropCaptures();
        }
        return false;
    }
    bool MatchNext(CMatchStateT<CharT>& state) const override {
        if (state.aborted)
            return false;
        if (!m_negative && m_captures)
            state.popCaptures();
        return false;
    }
    bool addFirstCharacters(FirstCharacters&) const override { return true; }

  private:
    const MatchNode<CharT>* m_body;
    bool m_negative;
    bool m_captures;
};

template <class CharT>
class CIndependentNodeT : public MatchNode<CharT> {
  public:
    CIndependentNodeT(const MatchNode<CharT>* body, bool captures)
        : m_body(body), m_captures(captures) {}

    bool Match(CMatchStateT<CharT>& state) const override {
        return regex_detail::matchAtomic(*m_body, state, m_captures);
    }
    bool MatchNext(CMatchStateT<CharT>& state) const override {
        return regex_detail::undoAtomic(state, m_captures);
    }
    bool addFirstCharacters(FirstCharacters& first) const override {
        return m_body->addFirstCharacters(first);
    }
    std::basic_string_view<CharT> requiredRun() const override { return m_body->requiredRun(); }
    void addRequiredCharacters(std::vector<const MatchNode<CharT>*>& required) const override {
        addSingleOrRequired(*m_body, required);
    }

  private:
    const MatchNode<CharT>* m_body;
    bool m_captures;
};

template <class CharT>
class CBackrefNodeT : public MatchNode<CharT> {
  public:
    CBackrefNodeT(int group, bool ignoreCase, bool rightToLeft)
        : m_group(group), m_ignoreCase(ignoreCase), m_rightToLeft(rightToLeft) {}

    bool Match(CMatchStateT<CharT>& state) const override {
        if (m_group < 0 || static_cast<std::size_t>(2 * m_group + 1) >= state.captures.size())
            return false;
        const int start = state.groupStart(m_group);
        const int end = state.groupEnd(m_group);
        if (start < 0 || end < start)
            return false;
        const int n = end - start;
        const int from = m_rightToLeft ? state.position - n : state.position;
        if (from < 0 || from + n > state.length || !state.charge(n))
            return false;
        for (int i = 0; i < n; ++i) {
            const CharT a = state.text[start + i];
            const CharT b = state.text[from + i];
            if (m_ignoreCase ? !equalIgnoringCase(a, b) : a != b)
                return false;
        }
        state.position += m_rightToLeft ? -n : n;
        state.push(n);
        return true;
    }
    bool MatchNext(CMatchStateT<CharT>& state) const override {
        if (state.aborted)
            return false;
        const int n = state.pop();
        state.position += m_rightToLeft ? n : -n;
        return false;
    }

    void setGroup(int group) { m_group = group; }

  private:
    int m_group;
    bool m_ignoreCase;
    bool m_rightToLeft;
};

// Runs the node of a group (or the whole pattern) at the position. The captures made
// inside belong to the recursion: the caller's captures are restored after each success,
// and the recursion's own are put back while it backtracks. A recursion that enters the
// node it is already running at the position where that one began has consumed nothing
// and could only repeat itself: it fails. The depth and the native stack a recursion may
// use are bounded; beyond them the search ends as too complex.
template <class CharT>
class CDelegateNodeT : public MatchNode<CharT> {
  public:
    CDelegateNodeT() = default;

    bool Match(CMatchStateT<CharT>& state) const override {
        const int start = state.position;
        if (m_target == nullptr || !enter(state, start, true))
            return false;
        const std::size_t outer = state.mark();
        state.pushCaptures();
        const bool matched = m_target->Match(state);
        state.recursions.pop_back();
        if (state.aborted)
            return false;
        if (!matched) {
            state.dropCaptures();
            return false;
        }
        keepInner(state, outer, start);
        return true;
    }
    bool MatchNext(CMatchStateT<CharT>& state) const override {
        if (state.aborted)
            return false;
        const int start = state.pop();
        const auto outer = static_cast<std::size_t>(state.pop());
        state.popCaptures();
        if (!enter(state, start, false))
            return false;
        const bool matched = m_target->MatchNext(state);
        state.recursions.pop_back();
        if (state.aborted)
            return false;
        if (!matched) {
            state.popCaptures();
            return false;
        }
        keepInner(state, outer, start);
        return true;
    }

    void setTarget(const MatchNode<CharT>* target) { m_target = target; }

  private:
    bool enter(CMatchStateT<CharT>& state, int start, bool refuseLoop) const {
        const char probe = 0;
        const auto here = reinterpret_cast<std::uintptr_t>(&probe);
        const auto base = reinterpret_cast<std::uintptr_t>(state.nativeStackBase);
        const auto used = static_cast<std::ptrdiff_t>(base > here ? base - here : here - base);
        if (state.recursions.size() >= CMatchStateT<CharT>::kMaxRecursion ||
            used > CMatchStateT<CharT>::kMaxNativeStack) {
            state.abort();
            return false;
        }
        if (refuseLoop) {
            if (!state.charge(static_cast<long long>(state.recursions.size())))
                return false;
            for (const auto& [node, at] : state.recursions)
                if (node == m_target && at == start)
                    return false;
        }
        state.recursions.emplace_back(m_target, start);
        return true;
    }
    // Saves the recursion's captures on top and gives the caller's back from the copy
    // saved at outer; then the two figures MatchNext needs.
    static void keepInner(CMatchStateT<CharT>& state, std::size_t outer, int start) {
        state.pushCaptures();
        std::copy_n(state.stack.begin() + static_cast<std::ptrdiff_t>(outer), state.captures.size(),
                    state.captures.begin());
        state.push(static_cast<int>(outer));
        state.push(start);
    }

    const MatchNode<CharT>* m_target = nullptr;
};

// "(?(condition)yes|no)": a group condition holds when the group has taken part; an
// assertion condition is run without consuming. The branch taken is kept on the stack.
template <class CharT>
class CConditionNodeT : public MatchNode<CharT> {
  public:
    CConditionNodeT(int group, const MatchNode<CharT>* assertion, const MatchNode<CharT>* yes,
                    const MatchNode<CharT>* no)
        : m_group(group), m_assertion(assertion), m_yes(yes), m_no(no) {}

    bool Match(CMatchStateT<CharT>& state) const override {
        const bool holds =
            m_assertion != nullptr ? m_assertion->Match(state) : groupTookPart(state);
        if (state.aborted)
            return false;
        if ((holds ? m_yes : m_no)->Match(state)) {
            state.push(holds ? 1 : 0);
            return true;
        }
        if (holds && m_assertion != nullptr)
            m_assertion->MatchNext(state);
        return false;
    }
    bool MatchNext(CMatchStateT<CharT>& state) const override {
        if (state.aborted)
            return false;
        const bool holds = state.pop() != 0;
        if ((holds ? m_yes : m_no)->MatchNext(state)) {
            state.push(holds ? 1 : 0);
            return true;
        }
        if (holds && m_assertion != nullptr)
            m_assertion->MatchNext(state);
        return false;
    }

    void setGroup(int group) { m_group = group; }

  private:
    bool groupTookPart(CMatchStateT<CharT>& state) const {
        if (m_group < 0 || static_cast<std::size_t>(2 * m_group + 1) >= state.captures.size())
            return false;
        return state.groupStart(m_group) >= 0 && state.groupEnd(m_group) >= 0;
    }

    int m_group;
    const MatchNode<CharT>* m_assertion;
    const MatchNode<CharT>* m_yes;
    const MatchNode<CharT>* m_no;
};

}  // namespace common
