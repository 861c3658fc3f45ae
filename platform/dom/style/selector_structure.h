// The tree facts structural selectors test: an element's parent and previous element
// sibling, its position among its element siblings, and the "an+b" formulas of
// ":nth-child()" and its kin.
//
// Contract: pure functions over a tree that does not change while they run; they take no
// shares of the nodes they pass. Thread of the document.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace platform::dom {

class Element;

const Element* parentElementOf(const Element& element);
const Element* previousElementOf(const Element& element);
// The 1-based position among the parent's element children, counted from the end when
// `fromEnd`, among those of the element's own tag when `sameTag`. std::nullopt for an
// element without a parent.
std::optional<std::size_t> positionAmongSiblings(const Element& element, bool fromEnd,
                                                 bool sameTag);
// Whether `position` is a*n+b for some n >= 0.
bool isPositionOf(int a, int b, std::size_t position);
// "odd", "even", "3", "-n+2", "2n + 1" to {a, b}; std::nullopt when it is none of these.
std::optional<std::pair<int, int>> parsePositionFormula(std::wstring_view text);
// The language of the nearest element at or above `element` with a "lang" attribute, in
// lower case; empty when there is none.
std::wstring languageOf(const Element& element);
// The document's top element.
bool isRootElement(const Element& element);
// No element children and no text.
bool isEmptyElement(const Element& element);

}  // namespace platform::dom
