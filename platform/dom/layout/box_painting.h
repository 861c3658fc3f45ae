// Painting a laid-out box's borders and background with cairo, as browsers paint them:
// borders solid, dashed, dotted, double, groove, ridge, inset or outset, each side in its own
// colour and meeting its neighbours on the diagonal, following the box's rounded corners;
// backgrounds in their colour and picture (placed, scaled and repeated as the box says),
// inside the rounded border box and the box the background is clipped to.
//
// Everything is given in canvas pixels (the layout's boxes already scaled and rounded to
// whole pixels, so neighbouring boxes meet without seams). Contract: draws onto the cairo
// context it is handed and leaves its state as it found it; never fails.
#pragma once

#include <cstdint>

#include <litehtml.h>

#include "platform/imaging/bitmap.h"
#include "platform/imaging/canvas/rounded_box.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace platform::dom {

struct BorderSide {
    int width = 0;  // canvas pixels; 0 for a side not drawn
    litehtml::border_style style = litehtml::border_style_none;
    std::uint32_t argb = 0;
};

struct BoxBorders {
    BorderSide left, top, right, bottom;
};

void paintBorders(cairo_t* cairo, const imaging::RoundedBox& outer, const BoxBorders& borders);

// A background picture: its surface and where one copy of it lies (its tile).
struct BackgroundPicture {
    cairo_surface_t* surface = nullptr;
    int width = 0;  // the picture's own pixels
    int height = 0;
    imaging::Rect tile;  // canvas pixels
    bool repeatX = false;
    bool repeatY = false;
};

// Paints `argb` and then the picture (if any) inside `shape` and `clip`.
void paintBackground(cairo_t* cairo, const imaging::RoundedBox& shape, imaging::Rect clip,
                     std::uint32_t argb, const BackgroundPicture& picture);

}  // namespace platform::dom
