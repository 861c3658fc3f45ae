// Svg elements written inside an HTML page, as the layout engine takes them: a picture of
// their own markup (drawn by librsvg as any svg picture is) in a box sized as a browser
// sizes an svg element in a page. Its width and height attributes give the box's; where
// one is missing, the viewBox's shape gives it from the other; with neither, a viewBox
// makes the box as wide as the space it stands in (in a box as wide as its content, none
// while that box is sized, and then that box's width), and without one it is 300 by 150.
//
// Contract: pure functions of the element and its document, on the document's thread.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform::dom {

class Element;

// An svg element of an HTML parent: the outermost element of an inline svg drawing.
bool isInlineSvg(const Element& element);

// A data: address holding the drawing as an svg document of its own: the element's markup
// with the names svg spells in mixed case ("viewBox", "linearGradient") restored, and the
// elements it uses by id from elsewhere in the page (symbols of a sprite, gradients).
std::string inlineSvgAddress(const Element& svg);
// How every such address begins.
inline constexpr std::string_view kInlineSvgAddressStart = "data:image/svg+xml,";

// The box's width and height as CSS declarations ("width:24px;height:24px").
std::string inlineSvgSize(const Element& svg);

// Marks a drawing that fills a box as wide as its content once that box is sized.
inline constexpr const char* kFillingSvgAttribute = "data-tamrix-fills";
// For a drawing that fills such a box, its height over its width (0 when its height does
// not follow its width); std::nullopt for any other.
std::optional<double> fillingSvgShape(const Element& svg);

}  // namespace platform::dom
