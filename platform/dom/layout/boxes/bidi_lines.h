// Lines in the order a reader sees them. The layout engine sets every line's words left to
// right in the order of the text. Where a line holds right-to-left text, its words, spaces
// and atomic boxes are reordered as the bidirectional algorithm (FriBidi's levels, with the
// block's direction as the paragraph's) orders them: each run of a level, from the highest
// down, is mirrored within the room it takes, which keeps the line's extent, its alignment
// and the gaps between the pieces. The first line of a right-to-left block is indented
// from the right (the engine indents every first line from the left).
//
// Contract: runs on a rendered engine document, on its thread; moves the engine's words and
// inline boxes. A block's direction is read from the attribute `directionMarker` ("rtl" or
// "ltr") on it or its nearest ancestor that has it; without one it runs left to right.
#pragma once

namespace litehtml {
class document;
}

namespace platform::dom {

void orderBidiLines(litehtml::document& page, const char* directionMarker);

}  // namespace platform::dom
