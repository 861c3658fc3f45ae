// Structural matcher nodes: a sequence (CListNodeT), an alternation (CAlternativeNodeT)
// and the opening and closing marks of a capture group (CBracketNodeT). Children are
// owned by the pattern builder; these nodes only point at them.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "common/regex/match_node.h"

namespace common {

template <class CharT>
class CListNodeT : public MatchNode<CharT> {
  public:
    explicit CListNodeT(std::vector<const MatchNode<CharT>*> nodes) : m_nodes(std::move(nodes)) {}

    bool Match(CMatchStateT<CharT>& state) const override { return forward(state, 0); }
    bool MatchNext(CMatchStateT<CharT>& state) const override {
        if (state.aborted)
            return false;
        const std::size_t resumed = backward(state, m_nodes.size());
        return resumed != 0 && forward(state, resumed);
    }
    bool addFirstCharacters(FirstCharacters& first) const override {
        for (const auto* node : m_nodes)
            if (!node->addFirstCharacters(first))
                return false;
        return true;
    }

    std::basic_string_view<CharT> requiredRun() const override {
        std::basic_string_view<CharT> longest;
        for (const auto* node : m_nodes)
            if (const auto run = node->requiredRun(); run.size() > longest.size())
                longest = run;
        return longest;
    }
    void addRequiredCharacters(std::vector<const MatchNode<CharT>*>& required) const override {
        for (const auto* node : m_nodes)
            addSingleOrRequired(*node, required);
    }

    const std::vector<const MatchNode<CharT>*>& nodes() const { return m_nodes; }

  private:
    // Matches the nodes from index on; when one fails, asks the earlier ones for their
    // next alternative.
    bool forward(CMatchStateT<CharT>& state, std::size_t index) const {
        while (index < m_nodes.size()) {
            if (!state.tick())
                return false;
            if (m_nodes[index]->Match(state)) {
                ++index;
                continue;
            }
            index = backward(state, index);
            if (index == 0)
                return false;
        }
        return true;
    }
    // Asks the nodes before index, last first, for another alternative; returns the index
    // after the node that found one, or 0 when none did.
    std::size_t backward(CMatchStateT<CharT>& state, std::size_t index) const {
        while (index > 0) {
            if (!state.tick())
                return 0;
            if (m_nodes[index - 1]->MatchNext(state))
                return index;
            --index;
        }
        return 0;
    }

    std::vector<const MatchNode<CharT>*> m_nodes;
};

// Alternation: branches in order; the index of the branch that matched is kept on the
// stack. Branches that cannot start with the next character are skipped (left to right).
template <class CharT>
class CAlternativeNodeT : public MatchNode<CharT> {
  public:
    CAlternativeNodeT(std::vector<const MatchNode<CharT>*> branches, bool rightToLeft)
        : m_branches(std::move(branches)), m_rightToLeft(rightToLeft) {
        for (const auto* branch : m_branches) {
            FirstCharacters first;
            const bool nullable = branch->addFirstCharacters(first);
            m_mayStartWith.push_back(first);
            m_nullable.push_back(nullable);
        }
    }

    bool Match(CMatchStateT<CharT>& state) const override { return tryFrom(state, 0); }
    bool MatchNext(CMatchStateT<CharT>& state) const override {
        if (state.aborted)
            return false;
        const int branch = state.pop();
        if (m_branches[static_cast<std::size_t>(branch)]->MatchNext(state)) {
            state.push(branch);
            return true;
        }
        return tryFrom(state, static_cast<std::size_t>(branch) + 1);
    }
    bool addFirstCharacters(FirstCharacters& first) const override {
        bool nullable = false;
        for (const auto* branch : m_branches)
            nullable = branch->addFirstCharacters(first) || nullable;
        return nullable;
    }

    const std::vector<const MatchNode<CharT>*>& branches() const { return m_branches; }

  private:
    bool tryFrom(CMatchStateT<CharT>& state, std::size_t index) const {
        for (; index < m_branches.size(); ++index) {
            if (!state.tick())
                return false;
            if (!mayStartHere(state, index))
                continue;
            if (m_branches[index]->Match(state)) {
                state.push(static_cast<int>(index));
                return true;
            }
        }
        return false;
    }
    bool mayStartHere(const CMatchStateT<CharT>& state, std::size_t index) const {
        if (m_rightToLeft || m_nullable[index])
            return true;
        if (state.position >= state.length)
            return false;
        return m_mayStartWith[index].containsCode(
            RegexChar<CharT>::code(state.text[state.position]));
    }

    std::vector<const MatchNode<CharT>*> m_branches;
    bool m_rightToLeft;
    std::vector<FirstCharacters> m_mayStartWith;
    std::vector<bool> m_nullable;
};

// Opening or closing mark of a capture group: records the group's start or end at the
// position and restores the previous value on backtracking, so the last iteration wins.
template <class CharT>
class CBracketNodeT : public MatchNode<CharT> {
  public:
    CBracketNodeT(int group, bool marksStart, std::basic_string<CharT> name)
        : m_group(group), m_marksStart(marksStart), m_name(std::move(name)) {}

    bool Match(CMatchStateT<CharT>& state) const override {
        int& slot = m_marksStart ? state.groupStart(m_group) : state.groupEnd(m_group);
        state.push(slot);
        slot = state.position;
        return true;
    }
    bool MatchNext(CMatchStateT<CharT>& state) const override {
        if (state.aborted)
            return false;
        (m_marksStart ? state.groupStart(m_group) : state.groupEnd(m_group)) = state.pop();
        return false;
    }
    bool addFirstCharacters(FirstCharacters&) const override { return true; }

    int group() const { return m_group; }
    void setGroup(int group) { m_group = group; }
    const std::basic_string<CharT>& name() const { return m_name; }

  private:
    int m_group;
    bool m_marksStart;
    std::basic_string<CharT> m_name;
};

}  // namespace common
