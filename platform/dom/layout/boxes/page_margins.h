// Margin collapsing the layout engine leaves undone. The engine collapses a block's own
// top margin with the bottom margin of the block before it, unless that block has padding
// or a border at its bottom: then it adds the two, and the later margin is cut to what
// the larger one adds. When a block takes the top margin of its first child (no border or
// padding between them) the engine adds that margin to the space above instead, and it
// keeps a last child's bottom margin inside its block when the child has padding or a
// border at its bottom. Moving such margins onto the outermost block that carries them,
// before the page is laid out, gives the same layout a browser gives, and the painter
// draws the boxes where the geometry reports them. Likewise the engine lets the last
// child's bottom margin out of a block of fixed height; that margin is dropped.
//
// Contract: runs on a created, not yet rendered engine document, on its thread. Margins
// in percent (they depend on widths not known yet) and negative margins are left as the
// page gives them.
#pragma once

#include <optional>
#include <string>

namespace litehtml {
class document;
class element;
}  // namespace litehtml

namespace platform::dom {

struct EngineElements;

// `elements` lists the page's elements (engine_tree.h).
void collapseMargins(litehtml::document& page, const EngineElements& elements);

// Gives the element `declaration` ("margin-top:0px") over everything its sheets say, through
// the style attribute, which the engine reads last, and has it parse its styles again.
void restyle(litehtml::element& element, const std::string& declaration);
// `restyle` for a correction computed from the element's own styles, which must not be
// applied twice: the style attribute it leaves is remembered under `marker`, and while the
// element's style attribute is still that one (a restyle in place kept it) nothing is
// done. False when nothing was done.
bool restyleOnce(litehtml::element& element, const char* marker, const std::string& declaration);
// Whether the element's style attribute is still the one `restyleOnce` left under `marker`.
bool restyledOnce(litehtml::element& element, const char* marker);
// The element's own value of a length property in pixels, 0 when unset; std::nullopt for
// a value known only at layout (a percentage) or a keyword ("auto").
std::optional<int> plainPixels(const litehtml::document& page, litehtml::element& element,
                               const char* name);

}  // namespace platform::dom
