// Percentage widths the layout engine resolves wrongly. For a box whose width is a
// percentage inside a parent whose width is a percentage too, the engine multiplies by
// the parent's percentage once more (and by each percentage of the ancestors above, up to
// the first one of automatic width) before it applies the box's own. Dividing the box's
// percentage by that product, before the page is laid out, gives the width a browser
// gives; a chain that reaches a box of fixed width is resolved right and left alone.
//
// Contract: runs on a created, not yet rendered engine document, on its thread. Table
// cells, rows and columns are sized by the table and left as they are.
#pragma once

namespace platform::dom {

struct EngineElements;

// `elements` lists the page's elements (engine_tree.h).
void correctNestedPercentWidths(const EngineElements& elements);

}  // namespace platform::dom
