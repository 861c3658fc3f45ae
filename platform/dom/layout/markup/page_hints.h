// The styles a browser gives elements for their presentational attributes (a table's
// border, cellpadding and align, a cell's height and nowrap, the body's bgcolor and
// margins, a picture's border, hspace and vspace, a text area's cols and rows, ...), as
// CSS declarations for the layout engine. They rank as the browser's own sheet does:
// any rule of the page's sheets overrides them.
//
// Contract: pure functions of the element and its ancestors' attributes; values are
// checked and written in a form that cannot leave the declaration they belong to.
#pragma once

#include <string>
#include <string_view>

namespace platform::dom {

class Element;

// The declarations for `element` ("padding:3px;border:1px inset gray"), empty when its
// attributes ask for none. `pictureMissing` tells, for a picture, that it cannot be had
// (a browser shows an icon of its own size in its place, or its alternative text: in a
// box of the picture's size when the page has no doctype, `quirks`).
std::string presentationalStyle(const Element& element, bool pictureMissing, bool quirks);

// Whether the attribute is to be left out of what the layout engine reads, because the
// engine would turn it into a style of its own over the one presentationalStyle gives (a
// cell's width in pixels, which the engine takes for the whole column's).
bool hintReplacesAttribute(const Element& element, std::string_view name);

// Rules a browser adds to its own sheet for pages without a doctype (quirks mode).
const char* quirksModeStyleSheet();

}  // namespace platform::dom
