// Paints a laid-out page into a picture, as the browser shows it: the page's background
// (the root's, else the body's, else white), then what the page's layout engine draws for
// the area: backgrounds, borders, list markers, pictures and anti-aliased text in its
// font, size, weight, style and colour (platform/dom/layout/page_layout.h). Page capture, print
// to PDF and the explorer bar's snapshot all paint through here.
//
// Contract: on the page's thread (it reads layout and styles); the page is laid out for
// its current viewport first. Nothing outside `area` is painted. A page its engine could
// not lay out paints as its background only; the engine's failure() says why. Never
// throws but std::bad_alloc.
#pragma once

#include "platform/dom/document.h"
#include "platform/dom/geometry.h"
#include "platform/imaging/bitmap.h"

namespace addon {

// The part `area` (page coordinates) of the page as a 24-bit bitmap of its size times
// `scale` (rounded up; text rasterised at that scale); empty for an empty area or a scale
// that is not positive.
platform::imaging::Bitmap paintPage(const platform::dom::Document& page, platform::dom::Rect area,
                                    double scale = 1.0);

// The size of an area's picture at a scale: each side times the scale, rounded up.
int scaledLength(int length, double scale);

}  // namespace addon
