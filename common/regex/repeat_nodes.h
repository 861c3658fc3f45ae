// Quantifier nodes: fixed repetition (CRepeatNodeT), greedy (CGreedyNodeT), reluctant
// (CReluctantNodeT) and possessive (CPossessiveNodeT) repetition of a body node between a
// minimum and a maximum (kUnbounded for an open maximum). Iterations are counted in loops
// and their backtracking data stays on the state's stack, so a repetition over any length
// of text uses no more native stack than one iteration. A body that always consumes one
// character runs as a plain scan that keeps only the count.
#pragma once

#include <algorithm>
#include <climits>

#include "common/regex/match_node.h"

namespace common {

constexpr int kUnbounded = INT_MAX;

namespace regex_detail {

// Brings count up to target by matching the body forwards; when an iteration fails, asks
// the earlier iterations for their next alternative, last first. With backtrackFirst it
// starts by asking the last iteration. False when no iteration has an alternative left
// (every iteration undone).
template <class CharT>
bool fillIterations(const MatchNode<CharT>& body, CMatchStateT<CharT>& state, int& count,
                    int target, bool backtrackFirst) {
    bool forward = !backtrackFirst;
    for (;;) {
        if (!state.tick())
            return false;
        if (forward) {
            if (count >= target)
                return true;
            if (body.Match(state)) {
                ++count;
                continue;
            }
        }
        if (count == 0)
            return false;
        forward = body.MatchNext(state);
        if (!forward)
            --count;
    }
}

// Counts how many characters from the position the single-character body accepts, up to
// limit, reading in the pattern's direction; each character read is charged to the budget.
template <class CharT>
int scanRun(const MatchNode<CharT>& body, CMatchStateT<CharT>& state, int limit, bool rightToLeft) {
    const bool* table = body.characterTable();
    const auto accepts = [&](CharT c) {
        const std::uint32_t code = RegexChar<CharT>::code(c);
        return table != nullptr && code < 256 ? table[code] : body.acceptsCharacter(c);
    };
    // Indexes rather than a moved pointer: an empty text may have no buffer at all.
    int n = 0;
    if (rightToLeft) {
        limit = std::min(limit, state.position);
        while (n < limit && accepts(state.text[state.position - 1 - n]))
            ++n;
    } else {
        limit = std::min(limit, state.length - state.position);
        while (n < limit && accepts(state.text[state.position + n]))
            ++n;
    }
    state.charge(n);
    return n;
}

// Matches one more iteration of body and pushes where it began above the body's data. With
// mustConsume an iteration that consumes nothing is retried with its next alternatives
// until one consumes something, and fails when none does (so an empty body never loops
// for ever).
template <class CharT>
bool matchIteration(const MatchNode<CharT>& body, CMatchStateT<CharT>& state, bool mustConsume) {
    const int before = state.position;
    if (!body.Match(state))
        return false;
    if (mustConsume)
        while (state.position == before)
            if (!body.MatchNext(state))
                return false;
    state.push(before);
    return true;
}

// Asks the last iteration made by matchIteration for its next alternative. The same rule
// holds as for its first one: with mustConsume an alternative that consumes nothing is
// passed over. Fails with the iteration undone when no alternative is left.
template <class CharT>
bool retryIteration(const MatchNode<CharT>& body, CMatchStateT<CharT>& state, bool mustConsume) {
    const int before = state.pop();
    while (body.MatchNext(state)) {
        if (!mustConsume || state.position != before) {
            state.push(before);
            return true;
        }
    }
    return false;
}

}  // namespace regex_detail

template <class CharT>
class CRepeatNodeT : public MatchNode<CharT> {
  public:
    CRepeatNodeT(const MatchNode<CharT>* body, int count, bool rightToLeft)
        : m_body(body), m_count(count), m_step(rightToLeft ? -1 : 1), m_rightToLeft(rightToLeft) {}

    bool Match(CMatchStateT<CharT>& state) const override {
        if (m_body->isSingleCharacter()) {
            if (regex_detail::scanRun(*m_body, state, m_count, m_rightToLeft) < m_count ||
                state.aborted)
                return false;
            state.position += m_count * m_step;
            return true;
        }
        int done = 0;
        return regex_detail::fillIterations(*m_body, state, done, m_count, false);
    }
    bool MatchNext(CMatchStateT<CharT>& state) const override {
        if (state.aborted)
            return false;
        if (m_body->isSingleCharacter()) {
            state.position -= m_count * m_step;
            return false;
        }
        int done = m_count;
        return regex_detail::fillIterations(*m_body, state, done, m_count, true);
    }
    bool addFirstCharacters(FirstCharacters& first) const override {
        return m_count == 0 || m_body->addFirstCharacters(first);
    }
    std::basic_string_view<CharT> requiredRun() const override {
        return m_count > 0 ? m_body->requiredRun() : std::basic_string_view<CharT>();
    }
    void addRequiredCharacters(std::vector<const MatchNode<CharT>*>& required) const override {
        if (m_count > 0)
            addSingleOrRequired(*m_body, required);
    }

  private:
    const MatchNode<CharT>* m_body;
    int m_count;
    int m_step;
    bool m_rightToLeft;
};

template <class CharT>
class CGreedyNodeT : public MatchNode<CharT> {
  public:
    CGreedyNodeT(const MatchNode<CharT>* body, int minimum, int maximum, bool rightToLeft)
        : m_body(body),
          m_min(minimum),
          m_max(maximum),
          m_step(rightToLeft ? -1 : 1),
          m_rightToLeft(rightToLeft) {}

    // Tells a left-to-right repetition of a single-character body which characters what
    // follows it must begin with, so that giving characters back stops only where one of
    // them is next (and not at all when the body never accepts any of them).
    void setFollowing(const FirstCharacters& following) {
        if (m_rightToLeft || !m_body->isSingleCharacter())
            return;
        m_following = following;
        m_hasFollowing = true;
        m_followingDisjoint = !(following.high && sizeof(CharT) > 1);
        for (std::uint32_t code = 0; code < 256 && m_followingDisjoint; ++code)
            m_followingDisjoint =
                !(following.low[code] && m_body->acceptsCharacter(static_cast<CharT>(code)));
    }

    bool Match(CMatchStateT<CharT>& state) const override {
        if (m_body->isSingleCharacter()) {
            const int n = regex_detail::scanRun(*m_body, state, m_max, m_rightToLeft);
            return !state.aborted && n >= m_min && stopAt(state, state.position, n);
        }
        return run(state, 0, true);
    }
    bool MatchNext(CMatchStateT<CharT>& state) const override {
        if (!state.tick())
            return false;
        int count = state.pop();
        if (m_body->isSingleCharacter()) {
            const int start = state.position - count * m_step;
            if (count > m_min && stopAt(state, start, count - 1))
                return true;
            state.position = start;
            return false;
        }
        return run(state, count, false);
    }
    bool addFirstCharacters(FirstCharacters& first) const override {
        return m_body->addFirstCharacters(first) || m_min == 0;
    }
    std::basic_string_view<CharT> requiredRun() const override {
        return m_min > 0 ? m_body->requiredRun() : std::basic_string_view<CharT>();
    }
    void addRequiredCharacters(std::vector<const MatchNode<CharT>*>& required) const override {
        if (m_min > 0)
            addSingleOrRequired(*m_body, required);
    }

    const MatchNode<CharT>* body() const { return m_body; }
    int minimum() const { return m_min; }
    int maximum() const { return m_max; }

  private:
    // Ends a single-character run that began at start after the longest count not above
    // most (and not below the minimum) that what follows may start after.
    bool stopAt(CMatchStateT<CharT>& state, int start, int most) const {
        int count = most;
        if (m_hasFollowing) {
            // With disjoint sets only the longest run can be followed.
            const int lowest = m_followingDisjoint ? most : m_min;
            while (count >= lowest && !followingMayStartAt(state, start + count))
                --count;
            if (!state.charge(most - count) || count < lowest)
                return false;
        }
        state.position = start + count * m_step;
        state.push(count);
        return true;
    }
    bool followingMayStartAt(const CMatchStateT<CharT>& state, int position) const {
        return position < state.length &&
               m_following.containsCode(RegexChar<CharT>::code(state.text[position]));
    }

    // Extends while iterations succeed (an iteration beyond the minimum must consume
    // something, its first alternative and every later one), then stops; on backtracking
    // first asks the last iteration for another alternative, else gives it up.
    bool run(CMatchStateT<CharT>& state, int count, bool forward) const {
        for (;;) {
            if (!state.tick())
                return false;
            if (forward) {
                if (count < m_max && regex_detail::matchIteration(*m_body, state, count >= m_min)) {
                    ++count;
                    continue;
                }
                if (state.aborted)
                    return false;
                if (count >= m_min) {
                    state.push(count);
                    return true;
                }
            }
            if (count == 0)
                return false;
            forward = regex_detail::retryIteration(*m_body, state, count > m_min);
            if (forward)
                continue;
            --count;
            if (count >= m_min) {
                state.push(count);
                return true;
            }
        }
    }
    const MatchNode<CharT>* m_body;
    int m_min;
    int m_max;
    int m_step;
    bool m_rightToLeft;
    FirstCharacters m_following;
    bool m_hasFollowing = false;
    bool m_followingDisjoint = false;
};

template <class CharT>
class CReluctantNodeT : public MatchNode<CharT> {
  public:
    CReluctantNodeT(const MatchNode<CharT>* body, int minimum, int maximum)
        : m_body(body), m_min(minimum), m_max(maximum) {}

    bool Match(CMatchStateT<CharT>& state) const override {
        int count = 0;
        if (!regex_detail::fillIterations(*m_body, state, count, m_min, false))
            return false;
        state.push(count);
        return true;
    }
    // One more iteration first; when none is possible, the next alternative of the last
    // iteration made so far. Iterations beyond the minimum must consume something, with
    // their first alternative and every later one.
    bool MatchNext(CMatchStateT<CharT>& state) const override {
        if (!state.tick())
            return false;
        int count = state.pop();
        if (count < m_max && regex_detail::matchIteration(*m_body, state, true)) {
            state.push(count + 1);
            return true;
        }
        if (state.aborted)
            return false;
        while (count > 0) {
            if (!state.tick())
                return false;
            const bool retried = count > m_min ? regex_detail::retryIteration(*m_body, state, true)
                                               : m_body->MatchNext(state);
            if (retried) {
                if (count < m_min &&
                    !regex_detail::fillIterations(*m_body, state, count, m_min, false))
                    return false;
                state.push(count);
                return true;
            }
            --count;
        }
        return false;
    }
    bool addFirstCharacters(FirstCharacters& first) const override {
        return m_body->addFirstCharacters(first) || m_min == 0;
    }
    std::basic_string_view<CharT> requiredRun() const override {
        return m_min > 0 ? m_body->requiredRun() : std::basic_string_view<CharT>();
    }
    void addRequiredCharacters(std::vector<const MatchNode<CharT>*>& required) const override {
        if (m_min > 0)
            addSingleOrRequired(*m_body, required);
    }

  private:
    const MatchNode<CharT>* m_body;
    int m_min;
    int m_max;
};

namespace regex_detail {

// Runs body once and drops its backtracking data, so later failures never re-enter it.
// With captures the capture array is saved first, so backtracking past the node still
// undoes the groups set inside. Leaves the start position on the stack.
template <class CharT>
bool matchAtomic(const MatchNode<CharT>& body, CMatchStateT<CharT>& state, bool captures) {
    const int start = state.position;
    if (captures)
        state.pushCaptures();
    const std::size_t mark = state.mark();
    if (!body.Match(state)) {
        if (captures && !state.aborted)
            state.dropCaptures();
        return false;
    }
    state.truncate(mark);
    state.push(start);
    return true;
}

template <class CharT>
bool undoAtomic(CMatchStateT<CharT>& state, bool captures) {
    if (state.aborted)
        return false;
    state.position = state.pop();
    if (captures)
        state.popCaptures();
    return false;
}

}  // namespace regex_detail

template <class CharT>
class CPossessiveNodeT : public MatchNode<CharT> {
  public:
    CPossessiveNodeT(const MatchNode<CharT>* body, int minimum, int maximum, bool rightToLeft,
                     bool captures)
        : m_greedy(body, minimum, maximum, rightToLeft), m_captures(captures) {}

    bool Match(CMatchStateT<CharT>& state) const override {
        return regex_detail::matchAtomic<CharT>(m_greedy, state, m_captures);
    }
    bool MatchNext(CMatchStateT<CharT>& state) const override {
        return regex_detail::undoAtomic(state, m_captures);
    }
    bool addFirstCharacters(FirstCharacters& first) const override {
        return m_greedy.addFirstCharacters(first);
    }
    std::basic_string_view<CharT> requiredRun() const override { return m_greedy.requiredRun(); }
    void addRequiredCharacters(std::vector<const MatchNode<CharT>*>& required) const override {
        m_greedy.addRequiredCharacters(required);
    }

  private:
    CGreedyNodeT<CharT> m_greedy;
    bool m_captures;
};

}  // namespace common
