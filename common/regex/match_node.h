// MatchNode: one node of a compiled pattern. Nodes are built once by CPatternBuilderT and
// are immutable afterwards, so a compiled pattern may be shared by threads; all matching
// state lives in the CMatchStateT passed to each call.
//
// Backtracking protocol: Match tries the node at the state's position; on success it leaves
// the position after what it consumed and pushes onto the state's stack whatever it needs
// to produce its next alternative; on failure it leaves position, stack and captures as it
// found them. MatchNext is called only while the node's data is on top of the stack: it
// pops that data and either yields the next alternative (true, data pushed again) or
// restores position and captures and fails. Both return false at once when the state has
// been aborted, without touching the stack. Native recursion is bounded by the nesting of
// the pattern, never by the length of the text.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "common/regex/char_classes.h"
#include "common/regex/match_state.h"

namespace common {

// Characters that can begin a match of a node, for skipping hopeless search positions:
// the codes below 256 one by one, and one bit for every code from 256 on.
struct FirstCharacters {
    std::array<bool, 256> low{};
    bool high = false;

    void add(std::uint32_t code) {
        if (code < 256)
            low[code] = true;
        else
            high = true;
    }
    void addAll() {
        low.fill(true);
        high = true;
    }
    void merge(const FirstCharacters& other) {
        for (std::size_t code = 0; code < low.size(); ++code)
            low[code] = low[code] || other.low[code];
        high = high || other.high;
    }
    bool containsCode(std::uint32_t code) const { return code < 256 ? low[code] : high; }
    bool isEverything() const {
        return high && std::all_of(low.begin(), low.end(), [](bool in) { return in; });
    }
};

template <class CharT>
class MatchNode {
  public:
    MatchNode() = default;
    MatchNode(const MatchNode&) = delete;
    MatchNode& operator=(const MatchNode&) = delete;
    virtual ~MatchNode() = default;

    virtual bool Match(CMatchStateT<CharT>& state) const = 0;
    virtual bool MatchNext(CMatchStateT<CharT>& state) const = 0;

    // Adds the characters a left-to-right match of this node can begin with and tells
    // whether the node can match the empty text (then what follows it counts as well).
    // The default claims every character and a possibly empty match.
    virtual bool addFirstCharacters(FirstCharacters& first) const {
        first.addAll();
        return true;
    }
    // A literal run (case-sensitive, in text order) that every match of this node contains,
    // or an empty view when none is known; it points into the node. A search ends at once
    // when the text holds no such run.
    virtual std::basic_string_view<CharT> requiredRun() const { return {}; }
    // Adds single-character nodes (see isSingleCharacter) that some character of every
    // match of this node satisfies. A search ends at once when the text holds no character
    // that one of them accepts.
    virtual void addRequiredCharacters(std::vector<const MatchNode*>&) const {}
    // True for nodes that always consume exactly one character that acceptsCharacter
    // approves and keep no backtracking data; repetitions of them run as a plain loop.
    virtual bool isSingleCharacter() const { return false; }
    virtual bool acceptsCharacter(CharT) const { return false; }
    // For single-character nodes that have one: whether each code below 256 is accepted.
    virtual const bool* characterTable() const { return nullptr; }
};

// Adds the node itself when it reads one character, else the characters it requires.
template <class CharT>
void addSingleOrRequired(const MatchNode<CharT>& node,
                         std::vector<const MatchNode<CharT>*>& required) {
    if (node.isSingleCharacter())
        required.push_back(&node);
    else
        node.addRequiredCharacters(required);
}

// Adds one character, and with ignoreCase its other cases, to a set of first characters.
template <class CharT>
void addFirstCharacter(FirstCharacters& first, CharT c, bool ignoreCase) {
    first.add(RegexChar<CharT>::code(c));
    if (!ignoreCase)
        return;
    for (std::uint32_t other = 0; other < 256; ++other)
        if (equalIgnoringCase(static_cast<CharT>(other), c))
            first.low[other] = true;
    if (sizeof(CharT) > 1)
        first.high = true;
}

}  // namespace common
