// The direction of a page's text as a browser takes it from the dir attribute: "rtl" and
// "ltr" set it, "auto" takes it from the element's first strongly directional character
// (the text of descendants with a dir of their own, scripts and styles passed over), and
// an element without one runs as its parent does; the page runs left to right. The layout
// engine knows no direction, so where it changes an element is given what its start side
// means there, as presentational styles: text aligned right (or left again inside a
// right-to-left part), lists and definitions indented from the right.
//
// Contract: pure functions of the element and its ancestors' attributes, on the
// document's thread.
#pragma once

#include <optional>
#include <string>

namespace platform::dom {

class Element;

bool runsRightToLeft(const Element& element);

// Names the direction an element's own dir attribute gives ("rtl" or "ltr") in the markup
// the layout engine reads.
inline constexpr const char* kDirectionAttribute = "data-tamrix-dir";
// The direction the element's own dir attribute gives: true for right to left, nullopt
// without a valid one.
std::optional<bool> ownRightToLeft(const Element& element);

// The declarations for the element's direction ("text-align:right;"), empty when it
// needs none.
std::string directionStyle(const Element& element);

}  // namespace platform::dom
