// Drawings that fill a box as wide as its content. A browser sizes such a box (an inline
// block, a float, a cell, a button) as if a drawing sized by its viewBox or in percent had
// no width, or its default width, and then lets the drawing fill the width the box came
// to. The layout engine cannot do the second step: after a first layout, each marked
// drawing takes the content width of the box it stands in (and the height its shape gives
// for that width), that box keeps the width it was given, and the page is laid out again.
//
// Contract: runs on a rendered engine document, on its thread. The mark's value is the
// drawing's height over its width; 0 keeps the height it has.
#pragma once

namespace litehtml {
class document;
}

namespace platform::dom {

// Restyles the drawings marked with the attribute `marker` and their boxes; true when any
// changed, and the page must be rendered again.
bool fillShrunkBoxes(litehtml::document& page, const char* marker);

}  // namespace platform::dom
