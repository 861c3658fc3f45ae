// Absolutely positioned boxes whose containing block is the page itself (no positioned
// ancestor). A browser places them from the page's origin; the layout engine places them
// from the root element's padding box, so a root element with a margin or a border moves
// every such box, the selection's overlays among them, by that much. Their pixel offsets
// are given back that amount before the page is laid out, so the engine places and paints
// them where a browser does.
//
// Contract: runs on a created, not yet rendered engine document, on its thread. Offsets
// that are not plain lengths (auto, percentages) are left as the page gives them.
#pragma once

namespace litehtml {
class document;
}

namespace platform::dom {

void placeFromPageOrigin(litehtml::document& page);

}  // namespace platform::dom
