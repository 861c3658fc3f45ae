// CSS selectors of the kinds the cascade understands: type, class, id and universal
// selectors, compounds of them, and the descendant and child combinators.
//
// Contract: parsing never throws; a selector with anything else (attribute tests,
// pseudo-classes, sibling combinators) is kept as unsupported and matches nothing, so
// its rule is skipped. Matching is a pure function of the tree.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace platform::dom {

class Element;

struct CompoundSelector {
    std::wstring tag;  // upper case; empty for any element
    std::wstring id;
    std::vector<std::wstring> classes;
    bool childOfNext = false;  // the compound on its right must be a child (">")
};

struct Selector {
    std::vector<CompoundSelector> compounds;  // left to right
    bool supported = true;
    // ids, classes, tags.
    std::array<int, 3> specificity{0, 0, 0};

    bool matches(const Element& element) const;
};

// "a, b > c" to its selectors; empty parts are dropped.
std::vector<Selector> parseSelectorList(std::wstring_view text);

}  // namespace platform::dom
