// Svg elements written inside an HTML page, as the layout engine takes them: a picture of
// their own markup (drawn by librsvg as any svg picture is) in a box sized as a browser
// sizes an svg element in a page. Its width and height attributes give the box's; where
// one is missing, the viewBox's shape gives it from the other; with neither, a viewBox
// makes the box as wide as the space it stands in (none in a box as wide as its content),
// and without one it is 300 by 150.
//
// Contract: pure functions of the element and its document, on the document's thread.
#pragma once

#include <string>

namespace platform::dom {

class Element;

// An svg element of an HTML parent: the outermost element of an inline svg drawing.
bool isInlineSvg(const Element& element);

// A data: address holding the drawing as an svg document of its own: the element's markup
// with the names svg spells in mixed case ("viewBox", "linearGradient") restored, and the
// elements it uses by id from elsewhere in the page (symbols of a sprite, gradients).
std::string inlineSvgAddress(const Element& svg);

// The box's width and height as CSS declarations ("width:24px;height:24px").
std::string inlineSvgSize(const Element& svg);

}  // namespace platform::dom
