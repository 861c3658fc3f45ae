// The one interface between the document and whatever lays it out. The document asks for
// a layout when something changed and then reads boxes; everything geometric (client
// rectangles, offsets, scrolling, hit tests, text-range rectangles) is derived from these
// few answers, so a real layout engine can replace the simple one without other changes.
//
// Contract: all rectangles are in document coordinates (page origin, not scrolled). An
// element without a box (display "none", not in the tree) gives std::nullopt and no
// rectangles. Called on the document's thread only.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/dom/geometry.h"

namespace platform::imaging {
class Canvas;
}

namespace platform::dom {

class Document;
class Element;
class Text;

class LayoutEngine {
  public:
    virtual ~LayoutEngine() = default;

    // Lays out the whole document for a viewport of the given size.
    virtual void layout(const Document& document, Size viewport) = 0;
    // The border box of the element.
    virtual std::optional<Rect> borderBox(const Element& element) const = 0;
    // One rectangle per line for inline elements; the border box for the others.
    virtual std::vector<Rect> clientRects(const Element& element) const = 0;
    // The boxes of the characters [begin, end) of a text node, one per line.
    virtual std::vector<Rect> textRects(const Text& text, std::size_t begin,
                                        std::size_t end) const = 0;
    // The extent of the page: every box that no box below the body clips or scrolls.
    virtual Size contentSize() const = 0;
    // Draws the part `area` (document coordinates) of the laid-out page onto the canvas,
    // whose top left corner stands for the area's; nothing outside the area is drawn. At
    // `scale` (positive) each CSS pixel of the area covers scale canvas pixels and text is
    // rasterised at its size times the scale; the layout itself does not change.
    virtual void paint(imaging::Canvas& canvas, Rect area, double scale = 1.0) const = 0;
    // Why the last layout gave no boxes ("" when it did): a sentence for the user.
    virtual const std::string& failure() const = 0;
    // Whether something the last layout was made from outside the document has changed
    // since (pictures that were still on their way have arrived): laying out again gives
    // other boxes.
    virtual bool outdated() const { return false; }
    // Waits a bounded time (within a page's picture budget) for what is still on its way
    // and can change the layout, so that the next layout is the settled page; a picture
    // that has not come by then is laid out and painted as one that cannot be had.
    virtual void settle() {}
};

// The engine every new document lays out with until setLayoutEngine replaces it: the page
// layout of the layout layer (layout/page_layout.h), which defines it.
std::unique_ptr<LayoutEngine> makePageLayout();

}  // namespace platform::dom
