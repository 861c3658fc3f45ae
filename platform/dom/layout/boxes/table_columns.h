// Column widths of automatic tables shared out as browsers share them. When a table is
// narrower than its columns' widest content but at least as wide as their narrowest, each
// column of automatic width gets its narrowest width and a share of the rest in proportion
// to how much wider its widest content is than its narrowest (the automatic table layout
// interpolates between the two). The layout engine shares the rest otherwise, so a column
// of short titles beside one of long paragraphs came out a quarter wider than in a browser,
// and the rows of such tables as tall as their longest texts are, not as a browser's. After
// a first layout, the cells of each such table are given the widths of their columns and
// the page is laid out again.
//
// Contract: on the engine document's thread. Tables with a column of given width, or as wide
// as their widest content, are left as the engine made them. The widths given stay with the
// table's grid until released, so a page laid out again (a restyle in place) releases them
// before it renders and shares them out anew after.
#pragma once

namespace litehtml {
class document;
}

namespace platform::dom {

struct EngineElements;

// On a rendered document: true when columns were given widths, and the page must be
// rendered again.
bool shareAutoTableColumns(litehtml::document& page);
// Before a render: the columns given widths by `shareAutoTableColumns` are automatic again.
void releaseSharedTableColumns(const EngineElements& page);

}  // namespace platform::dom
