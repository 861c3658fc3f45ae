// Painting only what an area shows. The layout engine paints a page by walking its whole
// element tree once per painting pass, whatever the area asked for, so painting a strip of
// a long page costs as much as painting all of it. After each layout the page's elements
// are told the area their children paint into (`notePaintBounds`), and an element whose
// children paint wholly outside the area being painted passes them over.
//
// The bounds follow the engine's own painting arithmetic: a child paints at its position
// plus the place its parent was drawn at; table cells and rows paint from their table's
// origin. A subtree holding a fixed box (placed on the window, not the page) has no bounds
// and is always walked. Glyphs, list markers and similar may reach a little outside their
// boxes: `kPaintOverhang` is added around every bounds tested.
//
// Contract: page thread only; run on a rendered engine document, again after every
// render or move of its boxes. Elements the engine made itself (words, anonymous boxes)
// hold no bounds and are always walked.
#pragma once

#include <optional>

namespace litehtml {
class element;
struct position;
}  // namespace litehtml

namespace platform::dom {

struct PaintArea {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    // Grows this area to take `other` in too.
    void include(const PaintArea& other);
    // Whether this area, moved by (x, y) and widened by the overhang, meets `clip`.
    bool meets(const litehtml::position& clip, int x, int y) const;
};

constexpr int kPaintOverhang = 64;

// What a page element keeps of its subtree's painting: the area its children paint into,
// in the frame its own position is given in; nullopt when unknown or unbounded.
class PaintBounds {
  public:
    virtual void setChildrenPaintArea(std::optional<PaintArea> area) = 0;
    // Widens the kept area by `area` (a box moved or added among the children).
    virtual void widenChildrenPaintArea(const PaintArea& area) = 0;

  protected:
    ~PaintBounds() = default;
};

// Works out and hands every page element below `root` its children's paint area.
void notePaintBounds(litehtml::element& root);

// Widens the children's paint area of `element`'s ancestors, up to the root, by the
// border box `element` now has, so that a box moved after layout is still painted.
void notePaintBoxMoved(litehtml::element& element);

}  // namespace platform::dom
