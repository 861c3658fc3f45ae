// CSS selectors as the cascade matches them: type, universal, class, id and attribute
// selectors (=, ~=, |=, ^=, $=, *=), the structural pseudo-classes (:first-child,
// :nth-of-type(2n+1), :only-child, :empty, :root ...), :not(), :lang(), :link, and the
// descendant, child (">"), adjacent ("+") and general sibling ("~") combinators, matched
// right to left over elements only.
//
// Contract: parsing never throws; a selector with anything else (pseudo-elements, dynamic
// states such as :hover, unknown pseudo-classes, broken syntax) is kept as unsupported and
// matches nothing, so its rule is skipped. Matching is a pure function of the tree.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace platform::dom {

class Element;

struct AttributeTest {
    enum class Operator { Exists, Equals, Word, DashPrefix, Prefix, Suffix, Substring };
    std::wstring name;  // lower case
    Operator op = Operator::Exists;
    std::wstring value;
};

struct PseudoClass {
    enum class Kind { NthChild, NthLastChild, NthOfType, NthLastOfType, Root, Empty, Link, Lang };
    Kind kind = Kind::Root;
    // Position tests match the positions a*n+b (1-based) for some n >= 0: ":first-child"
    // is NthChild with a = 0, b = 1; ":only-child" is NthChild and NthLastChild of 1.
    int a = 0;
    int b = 1;
    std::wstring language;  // for Lang, lower case
};

enum class Combinator {
    Descendant,
    Child,     // ">"
    Adjacent,  // "+"
    Sibling,   // "~"
};

struct CompoundSelector {
    std::wstring tag;  // upper case; empty for any element
    std::wstring id;
    std::vector<std::wstring> classes;
    std::vector<AttributeTest> attributes;
    std::vector<PseudoClass> pseudoClasses;
    std::vector<CompoundSelector> negations;  // :not(...): none of them may match
    // How the compound on its right relates to this one.
    Combinator toNext = Combinator::Descendant;
};

struct Selector {
    std::vector<CompoundSelector> compounds;  // left to right
    bool supported = true;
    // ids, classes, attributes and pseudo-classes, tags.
    std::array<int, 3> specificity{0, 0, 0};
    // What an element's match depends on beyond itself and its ancestors: its siblings
    // (sibling combinators, position pseudo-classes) or its children (":empty").
    bool readsSiblings = false;
    // Attribute names tested anywhere in the selector, other than id and class.
    std::vector<std::wstring> attributeNames;

    bool matches(const Element& element) const;
};

// "a, b > c" to its selectors; empty parts are dropped. Commas inside brackets, quotes
// and parentheses do not split.
std::vector<Selector> parseSelectorList(std::wstring_view text);

}  // namespace platform::dom
