// RoundedBox: a rectangle with elliptical corners, the shape CSS's border-radius gives a
// box, in canvas pixels (fractions allowed). Radii are fitted as CSS fits them: when two
// corners along a side would overlap, every radius shrinks by the same factor.
//
// Contract: plain values; traceRoundedBox adds one closed sub-path to a cairo context and
// changes nothing else about it.
#pragma once

typedef struct _cairo cairo_t;

namespace platform::imaging {

// Each corner's horizontal (x) and vertical (y) radius.
struct CornerRadii {
    double topLeftX = 0, topLeftY = 0;
    double topRightX = 0, topRightY = 0;
    double bottomRightX = 0, bottomRightY = 0;
    double bottomLeftX = 0, bottomLeftY = 0;

    bool any() const;
};

struct RoundedBox {
    double left = 0, top = 0, right = 0, bottom = 0;
    CornerRadii radii;

    double width() const { return right - left; }
    double height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    // The radii shrunk together until the corners along every side fit (negative ones as 0).
    RoundedBox fitted() const;
    // The box moved in by each side's width; each radius shrinks by the width of the side
    // it meets, never below 0 (the inner edge of a border).
    RoundedBox inset(double leftWidth, double topWidth, double rightWidth,
                     double bottomWidth) const;
};

// Adds the box's outline, clockwise from its top left corner, as a closed sub-path.
void traceRoundedBox(cairo_t* cairo, const RoundedBox& box);

}  // namespace platform::imaging
