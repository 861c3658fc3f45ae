// Pictures of the page as it is shown: the readable part cut into numbered PNG tiles for
// Print-to-PDF, and the whole page as one bitmap for the image export.
//
// Rendering lays the page out at a layout width (600 pixels unless told otherwise) by 800
// to learn its full size (the larger of the body's and the root's scroll sizes), with the
// inline "border-style" of both set to "none" and "overflow" to "hidden", then lays it out
// again at that full width (or at a narrower widest layout width it is given, "overflow"
// then "visible") by at most 6000 rows, takes its full size again and paints it in slices
// of at most 6000 rows. Afterwards the
// viewport, the scroll position and the two inline values are put back, also when the capture ends
// early.
//
// Contract: PageRendering lives on the page's thread; the captures reach the page through
// a PageAccess (page_access.h), so a worker may run them. Failures end a capture with what
// was written so far; a tile that cannot be saved is not listed. Never throws but
// std::bad_alloc.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "addon/export/capture/page_access.h"
#include "addon/export/paging/tile_marks.h"
#include "platform/dom/document.h"
#include "platform/imaging/bitmap.h"

namespace addon {

inline constexpr int kCaptureLayoutWidth = 600;
inline constexpr int kCaptureLayoutHeight = 800;
inline constexpr int kCaptureSliceHeight = 6000;
// The most pixels a tile holds: fewer rows go into the slices of a very wide page, so that
// each tile can be read again whole (pictures of more than 40 million pixels are refused).
inline constexpr long long kCaptureTilePixels = 24'000'000;
// The widest page rendered: a page's own styles may ask for any width, and a slice of
// this width still fits in memory. Wider pages are cut off at the right.
inline constexpr int kCaptureMaxWidth = 16384;

class PageRendering {
  public:
    // Sets the page up for rendering, measured at `layoutWidth` pixels wide and painted
    // laid out as wide as it is then, but at most `widestLayout` (and at least
    // `layoutWidth`) wide, with the pictures still on their way that arrive within the
    // page's budget; ready() is false (and nothing changed) for a page without a body or
    // root element.
    explicit PageRendering(platform::dom::Document& page, int layoutWidth = kCaptureLayoutWidth,
                           int widestLayout = kCaptureMaxWidth);
    PageRendering(const PageRendering&) = delete;
    PageRendering& operator=(const PageRendering&) = delete;

    bool ready() const { return ready_; }
    // The page's full width and height.
    platform::dom::Size fullSize() const { return full_; }
    // The rows [top, top + height) of the page, scrolled there, over the full width,
    // painted at `scale` (see paintPage).
    platform::imaging::Bitmap renderSlice(platform::dom::Document& page, int top, int height,
                                          double scale = 1.0);
    // Puts the page back as it was; later calls do nothing.
    void restore(platform::dom::Document& page);

  private:
    // The element's whole "style" attribute (none when it had none), put back as it was.
    struct SavedStyle {
        std::shared_ptr<platform::dom::Element> element;
        std::optional<std::wstring> styleAttribute;
    };

    bool ready_ = false;
    platform::dom::Size viewport_;
    platform::dom::Point scroll_;
    platform::dom::Size full_;
    std::vector<SavedStyle> saved_;
};

// The tile of one slice whose first row is the page's row `sliceTop`: without rectangles
// the whole slice; otherwise the part of every rectangle (page coordinates, in order) that
// meets the slice, stacked from the top, each at the left edge, on white. Nothing when no
// rectangle leaves a part of the slice that is not empty.
std::optional<platform::imaging::Bitmap> cutReadableTile(
    const platform::imaging::Bitmap& slice, int sliceTop,
    const std::vector<platform::dom::Rect>& rectangles);

// How captureReadableTiles lays out and paints the page.
struct TileCapture {
    // The page is painted this much larger (text rasterised at that size); slices then hold
    // fewer rows of the page, so that none exceeds 6000 pixel rows.
    double scale = 1.0;
    int layoutWidth = kCaptureLayoutWidth;
    // When positive: tiles that would be wider than this (a page or readable part wider
    // than the device) are painted smaller, so that nothing is cut off at the right...
    int fitWidth = 0;
    // ...but never smaller than this scale (text would be too small to read): such tiles
    // stay wider than fitWidth.
    double smallestScale = 0;
};

// Captures the page into PNG tiles "<prefix>001.png", "<prefix>002.png", ... (one number
// per slice), keeping of each slice only the parts of the elements that getElementsByName
// returns for `elementName` (all of it when there are none). Returns the files written,
// in order. With `marks`, the page's links and pictures are added to it where their parts
// show in the tiles, in the pixels of the tiles placed one under the other.
std::vector<std::wstring> captureReadableTiles(PageAccess& page, const std::wstring& elementName,
                                               const std::wstring& prefix,
                                               const TileCapture& how = {},
                                               TileMarks* marks = nullptr);

// The whole page in one 24-bit bitmap; empty when the page cannot be rendered or the
// bitmap cannot be had.
platform::imaging::Bitmap capturePageBitmap(platform::dom::Document& page);

}  // namespace addon
