// Heights in percent under the quirks of old pages. Without a doctype a browser resolves a
// percentage height whose containing block has no height of its own against the nearest
// block above that has one, passing over blocks of automatic height; when it reaches the
// root, the percentage is of the viewport's height less the margins, borders and padding of
// the body and the root. The layout engine takes such heights as automatic (a video frame
// of "height:100%; padding-bottom:56.25%" loses its whole picture height). Such heights
// are written out in pixels before the page is laid out.
//
// Contract: runs on a created, not yet rendered engine document of a page in quirks mode,
// on its thread. Positioned boxes, and chains that meet a table cell, a flexible box, a
// positioned box or a height that is not plain pixels, are left as the page gives them.
#pragma once

namespace litehtml {
class document;
}

namespace platform::dom {

struct EngineElements;

// `elements` lists the page's elements (engine_tree.h).
void resolveQuirkPercentHeights(const litehtml::document& page, const EngineElements& elements,
                                int viewportHeight);

}  // namespace platform::dom
