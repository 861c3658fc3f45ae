// The address a picture element shows, chosen as a browser at 1x chooses it: a <source> of
// its <picture> parent whose type is one we decode and that names no media query, else the
// img's own srcset, else its src. Density candidates take the one closest above 1x; width
// candidates the narrowest that fills the width given by `sizes` in pixels (else the
// viewport). Pages that load pictures lazily leave src empty or a placeholder (a tiny data:
// picture, a blank or spacer image) and keep the address in data-src, data-srcset and
// similar attributes; these fill in, unless a noscript beside the image holds a picture: that
// is the page's own fallback for readers without scripts, shown in its place.
//
// Contract: pure functions over the element tree; the document's thread. "" when the
// element names no picture.
#pragma once

#include <string>
#include <string_view>

namespace platform::dom {

class Element;

// The candidate of a srcset value a 1x screen takes for a slot `slotWidth` pixels wide.
std::wstring chooseFromSrcset(std::wstring_view srcset, int slotWidth);

// Whether a src value only holds the place of the real picture.
bool isPlaceholderSource(std::wstring_view source);

// The picture an <img> shows (see above); `viewportWidth` for width candidates.
std::wstring pictureSource(const Element& image, int viewportWidth = 1024);

}  // namespace platform::dom
