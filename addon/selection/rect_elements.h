// Choosing page elements for a rectangle drawn over the page: every element that lies
// wholly inside it, or the one element that holds all of those. The engine's overlays and
// hidden elements are never chosen.
//
// Contract: the page's user-interface thread; reads the page only.
#pragma once

#include <vector>

#include "addon/page/dom_helpers.h"
#include "addon/page/rect.h"

namespace addon {

// The elements below `node` that the rectangle holds wholly (their descendants not
// listed), looking inside elements that it only crosses; elements narrower than 10 pixels
// or without a rectangle are skipped. Browser version 8 gives a "DIV" a rectangle that
// may not cover its content, so there the rectangle also looks inside every "DIV" it
// misses. `browserVersion` defaults to the browser's major version (getIEMajorVersion).
std::vector<ElementPtr> collectElementsInRect(const ElementPtr& node, const Rect& rect);
std::vector<ElementPtr> collectElementsInRect(const ElementPtr& node, const Rect& rect,
                                              int browserVersion);
// The nearest element that holds everything collected under the body; null for a
// rectangle narrower or lower than 5 pixels or when nothing is collected.
ElementPtr findElementForRect(const dom::Document& document, const Rect& rect);

}  // namespace addon
