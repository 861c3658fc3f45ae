#include "platform/imaging/canvas/rounded_box.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace platform::imaging {

namespace {

// A corner of the box at (cornerX, cornerY): a quarter of the ellipse with radii rx, ry
// that touches both sides, from angle `from` on; a square corner when either radius is 0.
void corner(cairo_t* cairo, double cornerX, double cornerY, double rx, double ry, double from) {
    if (rx <= 0 || ry <= 0) {
        cairo_line_to(cairo, cornerX, cornerY);
        return;
    }
    // The ellipse's centre lies inside the box from the corner.
    const double middle = from + M_PI / 4;
    const double centreX = cornerX - std::copysign(rx, std::cos(middle));
    const double centreY = cornerY - std::copysign(ry, std::sin(middle));
    cairo_save(cairo);
    cairo_translate(cairo, centreX, centreY);
    cairo_scale(cairo, rx, ry);
    cairo_arc(cairo, 0, 0, 1, from, from + M_PI / 2);
    cairo_restore(cairo);
}

}  // namespace

bool CornerRadii::any() const {
    return topLeftX > 0 || topLeftY > 0 || topRightX > 0 || topRightY > 0 || bottomRightX > 0 ||
           bottomRightY > 0 || bottomLeftX > 0 || bottomLeftY > 0;
}

RoundedBox RoundedBox::fitted() const {
    RoundedBox box = *this;
    CornerRadii& r = box.radii;
    for (double* radius : {&r.topLeftX, &r.topLeftY, &r.topRightX, &r.topRightY, &r.bottomRightX,
                           &r.bottomRightY, &r.bottomLeftX, &r.bottomLeftY})
        *radius = std::max(0.0, *radius);
    double factor = 1;
    const auto fit = [&](double length, double first, double second) {
        if (first + second > length)
            factor = std::min(factor, std::max(0.0, length) / (first + second));
    };
    fit(width(), r.topLeftX, r.topRightX);
    fit(width(), r.bottomLeftX, r.bottomRightX);
    fit(height(), r.topLeftY, r.bottomLeftY);
    fit(height(), r.topRightY, r.bottomRightY);
    if (factor < 1)
        for (double* radius : {&r.topLeftX, &r.topLeftY, &r.topRightX, &r.topRightY,
                               &r.bottomRightX, &r.bottomRightY, &r.bottomLeftX, &r.bottomLeftY})
            *radius *= factor;
    return box;
}

RoundedBox RoundedBox::inset(double leftWidth, double topWidth, double rightWidth,
                             double bottomWidth) const {
    RoundedBox box = *this;
    box.left += leftWidth;
    box.top += topWidth;
    box.right -= rightWidth;
    box.bottom -= bottomWidth;
    CornerRadii& r = box.radii;
    const auto shrink = [](double& radius, double by) { radius = std::max(0.0, radius - by); };
    shrink(r.topLeftX, leftWidth);
    shrink(r.topLeftY, topWidth);
    shrink(r.topRightX, rightWidth);
    shrink(r.topRightY, topWidth);
    shrink(r.bottomRightX, rightWidth);
    shrink(r.bottomRightY, bottomWidth);
    shrink(r.bottomLeftX, leftWidth);
    shrink(r.bottomLeftY, bottomWidth);
    return box;
}

void traceRoundedBox(cairo_t* cairo, const RoundedBox& box) {
    if (!box.radii.any()) {
        cairo_rectangle(cairo, box.left, box.top, box.width(), box.height());
        return;
    }
    const CornerRadii& r = box.radii;
    cairo_new_sub_path(cairo);
    corner(cairo, box.left, box.top, r.topLeftX, r.topLeftY, M_PI);
    corner(cairo, box.right, box.top, r.topRightX, r.topRightY, -M_PI / 2);
    corner(cairo, box.right, box.bottom, r.bottomRightX, r.bottomRightY, 0);
    corner(cairo, box.left, box.bottom, r.bottomLeftX, r.bottomLeftY, M_PI / 2);
    cairo_close_path(cairo);
}

}  // namespace platform::imaging
