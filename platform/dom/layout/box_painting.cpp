#include "platform/dom/layout/box_painting.h"

#include <cairo.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "platform/imaging/canvas/canvas.h"

namespace platform::dom {

namespace {

using imaging::RoundedBox;

// The colour with its brightest channel moved by `shift` (a third darker or lighter), its
// hue kept: the shaded and lit faces of a bevelled border, as browsers shade them.
std::uint32_t shaded(std::uint32_t argb, double shift) {
    const auto value = [&](int at) { return ((argb >> at) & 0xFF) / 255.0; };
    const double brightest = std::max({value(16), value(8), value(0)});
    if (brightest == 0)
        return shift < 0 ? argb : (argb & 0xFF000000u) | 0x545454u;
    const double factor = std::clamp(brightest + shift, 0.0, 1.0) / brightest;
    const auto channel = [&](int at) {
        return static_cast<std::uint32_t>(std::lround(std::min(1.0, value(at) * factor) * 255))
               << at;
    };
    return (argb & 0xFF000000u) | channel(16) | channel(8) | channel(0);
}

std::uint32_t shadowOf(std::uint32_t argb) {
    return shaded(argb, -1.0 / 3);
}

std::uint32_t lightOf(std::uint32_t argb) {
    return shaded(argb, 1.0 / 3);
}

// Fills what lies between `outer` and `inner` (all of `outer` when `inner` is empty).
void fillRing(cairo_t* cairo, const RoundedBox& outer, const RoundedBox& inner) {
    imaging::traceRoundedBox(cairo, outer);
    if (!inner.empty())
        imaging::traceRoundedBox(cairo, inner);
    cairo_set_fill_rule(cairo, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_fill(cairo);
    cairo_set_fill_rule(cairo, CAIRO_FILL_RULE_WINDING);
}

bool drawn(const BorderSide& side) {
    return side.width > 0 && (side.argb >> 24) != 0 && side.style != litehtml::border_style_none &&
           side.style != litehtml::border_style_hidden;
}

enum class Side { left, top, right, bottom };

// The part of the box a side owns: from its two outer corners in along the lines that join
// each outer corner to the inner one (far enough in to take a rounded corner's curve whole,
// never past the box's middle).
void clipToSide(cairo_t* cairo, const RoundedBox& outer, const BoxBorders& borders, Side side) {
    const double middleX = (outer.left + outer.right) / 2;
    const double middleY = (outer.top + outer.bottom) / 2;
    // The end of the join from the corner (x, y), in the direction (dx, dy) of the corner's
    // two border widths; `radius` is the corner's larger radius.
    const auto joinEnd = [&](double x, double y, double dx, double dy, double radius) {
        double reach = 1;
        const double shorter =
            std::min(dx != 0 ? std::abs(dx) : HUGE_VAL, dy != 0 ? std::abs(dy) : HUGE_VAL);
        if (radius > 0 && shorter < HUGE_VAL)
            reach += radius / shorter;
        if (dx != 0)
            reach = std::min(reach, std::abs(middleX - x) / std::abs(dx));
        if (dy != 0)
            reach = std::min(reach, std::abs(middleY - y) / std::abs(dy));
        return std::array<double, 2>{x + dx * reach, y + dy * reach};
    };
    const auto& r = outer.radii;
    const double l = borders.left.width, t = borders.top.width;
    const double rt = borders.right.width, b = borders.bottom.width;
    const auto topLeft = joinEnd(outer.left, outer.top, l, t, std::max(r.topLeftX, r.topLeftY));
    const auto topRight =
        joinEnd(outer.right, outer.top, -rt, t, std::max(r.topRightX, r.topRightY));
    const auto bottomRight =
        joinEnd(outer.right, outer.bottom, -rt, -b, std::max(r.bottomRightX, r.bottomRightY));
    const auto bottomLeft =
        joinEnd(outer.left, outer.bottom, l, -b, std::max(r.bottomLeftX, r.bottomLeftY));
    std::array<std::array<double, 2>, 4> corners{};
    switch (side) {
        case Side::top:
            corners = {{{outer.left, outer.top}, {outer.right, outer.top}, topRight, topLeft}};
            break;
        case Side::right:
            corners = {
                {{outer.right, outer.top}, {outer.right, outer.bottom}, bottomRight, topRight}};
            break;
        case Side::bottom:
            corners = {
                {{outer.right, outer.bottom}, {outer.left, outer.bottom}, bottomLeft, bottomRight}};
            break;
        case Side::left:
            corners = {{{outer.left, outer.bottom}, {outer.left, outer.top}, topLeft, bottomLeft}};
            break;
    }
    cairo_move_to(cairo, corners[0][0], corners[0][1]);
    for (std::size_t k = 1; k < corners.size(); ++k)
        cairo_line_to(cairo, corners[k][0], corners[k][1]);
    cairo_close_path(cairo);
    // Square corners are split on whole pixels, so two sides meet without a faint seam.
    if (!outer.radii.any())
        cairo_set_antialias(cairo, CAIRO_ANTIALIAS_NONE);
    cairo_clip(cairo);
    cairo_set_antialias(cairo, CAIRO_ANTIALIAS_DEFAULT);
}

// Dashes or dots along the middle of a side, `length` long, fitted so the line starts and
// ends with one (as browsers fit them to each side).
void strokeBroken(cairo_t* cairo, const BorderSide& side, double length) {
    const double width = side.width;
    cairo_set_line_width(cairo, width);
    if (side.style == litehtml::border_style_dotted && width > 3) {
        // Round dots, a dot's width apart (thinner dots are squares, as in browsers).
        const int gaps = std::max(1, static_cast<int>(std::lround((length - width) / (2 * width))));
        const double period = std::max(width, (length - width) / gaps);
        const double dashes[] = {0, period};
        cairo_set_line_cap(cairo, CAIRO_LINE_CAP_ROUND);
        // The first dot lies whole inside the side, its middle half a width in.
        cairo_set_dash(cairo, dashes, 2, period - width / 2);
        return;
    }
    const double dash = side.style == litehtml::border_style_dotted ? width : 3 * width;
    const int count = std::max(1, static_cast<int>(std::lround((length + dash) / (2 * dash))));
    const double gap = count > 1 ? (length - count * dash) / (count - 1) : length;
    const double dashes[] = {dash, std::max(gap, 0.0)};
    cairo_set_line_cap(cairo, CAIRO_LINE_CAP_BUTT);
    cairo_set_dash(cairo, dashes, 2, 0);
}

void paintSide(cairo_t* cairo, const RoundedBox& outer, const RoundedBox& inner,
               const BoxBorders& borders, Side which) {
    const BorderSide& side = which == Side::left    ? borders.left
                             : which == Side::top   ? borders.top
                             : which == Side::right ? borders.right
                                                    : borders.bottom;
    if (!drawn(side))
        return;
    cairo_save(cairo);
    clipToSide(cairo, outer, borders, which);
    const double l = borders.left.width, t = borders.top.width;
    const double r = borders.right.width, b = borders.bottom.width;
    const bool litSide = which == Side::left || which == Side::top;
    switch (side.style) {
        case litehtml::border_style_dashed:
        case litehtml::border_style_dotted: {
            imaging::setSourceColour(cairo, side.argb);
            const RoundedBox middle = outer.inset(l / 2, t / 2, r / 2, b / 2);
            if (outer.radii.any()) {
                strokeBroken(cairo, side, 2 * (middle.width() + middle.height()));
                imaging::traceRoundedBox(cairo, middle);
            } else if (which == Side::top || which == Side::bottom) {
                const double y = which == Side::top ? middle.top : middle.bottom;
                strokeBroken(cairo, side, outer.width());
                cairo_move_to(cairo, outer.left, y);
                cairo_line_to(cairo, outer.right, y);
            } else {
                const double x = which == Side::left ? middle.left : middle.right;
                strokeBroken(cairo, side, outer.height());
                cairo_move_to(cairo, x, outer.top);
                cairo_line_to(cairo, x, outer.bottom);
            }
            cairo_stroke(cairo);
            break;
        }
        case litehtml::border_style_double:
        case litehtml::border_style_groove:
        case litehtml::border_style_ridge: {
            const bool isDouble = side.style == litehtml::border_style_double;
            if (isDouble && side.width < 3) {
                imaging::setSourceColour(cairo, side.argb);
                fillRing(cairo, outer, inner);
                break;
            }
            // Two bands: the outer and inner thirds of a double border, or the halves of a
            // groove (shadow outside on the lit sides) or a ridge (the other way round).
            const auto part = [&](double width) {
                return isDouble ? std::max(1.0, std::round(width / 3)) : std::floor(width / 2);
            };
            const RoundedBox outerBand = outer.inset(part(l), part(t), part(r), part(b));
            const RoundedBox innerBand = inner.inset(-part(l), -part(t), -part(r), -part(b));
            const bool shadowOutside = (side.style == litehtml::border_style_groove) == litSide;
            const std::uint32_t outside = shadowOutside ? shadowOf(side.argb) : lightOf(side.argb);
            const std::uint32_t inside = shadowOutside ? lightOf(side.argb) : shadowOf(side.argb);
            imaging::setSourceColour(cairo, isDouble ? side.argb : outside);
            fillRing(cairo, outer, outerBand);
            imaging::setSourceColour(cairo, isDouble ? side.argb : inside);
            fillRing(cairo, isDouble ? innerBand : outerBand, inner);
            break;
        }
        case litehtml::border_style_inset:
        case litehtml::border_style_outset: {
            const bool inShadow = (side.style == litehtml::border_style_inset) == litSide;
            imaging::setSourceColour(cairo, inShadow ? shadowOf(side.argb) : lightOf(side.argb));
            fillRing(cairo, outer, inner);
            break;
        }
        default:
            imaging::setSourceColour(cairo, side.argb);
            fillRing(cairo, outer, inner);
    }
    cairo_restore(cairo);
}

}  // namespace

void paintBorders(cairo_t* cairo, const RoundedBox& box, const BoxBorders& borders) {
    const RoundedBox outer = box.fitted();
    if (outer.empty())
        return;
    const std::array<const BorderSide*, 4> sides = {&borders.left, &borders.top, &borders.right,
                                                    &borders.bottom};
    const RoundedBox inner = outer.inset(drawn(borders.left) ? borders.left.width : 0,
                                         drawn(borders.top) ? borders.top.width : 0,
                                         drawn(borders.right) ? borders.right.width : 0,
                                         drawn(borders.bottom) ? borders.bottom.width : 0);
    BoxBorders used = borders;
    for (BorderSide* side : {&used.left, &used.top, &used.right, &used.bottom})
        if (!drawn(*side))
            side->width = 0;
    // The common case, one solid colour all round, is one ring with no joins to split.
    const bool oneSolidRing = std::all_of(sides.begin(), sides.end(), [&](const BorderSide* side) {
        return drawn(*side) && side->style == litehtml::border_style_solid &&
               side->argb == borders.top.argb;
    });
    if (oneSolidRing) {
        cairo_save(cairo);
        imaging::setSourceColour(cairo, borders.top.argb);
        fillRing(cairo, outer, inner);
        cairo_restore(cairo);
        return;
    }
    for (Side side : {Side::top, Side::right, Side::bottom, Side::left})
        paintSide(cairo, outer, inner, used, side);
}

void paintBackground(cairo_t* cairo, const RoundedBox& shape, imaging::Rect clip,
                     std::uint32_t argb, const BackgroundPicture& picture) {
    if (clip.empty())
        return;
    cairo_save(cairo);
    cairo_rectangle(cairo, clip.left, clip.top, clip.width(), clip.height());
    cairo_clip(cairo);
    if (shape.radii.any()) {
        imaging::traceRoundedBox(cairo, shape.fitted());
        cairo_clip(cairo);
    }
    if ((argb >> 24) != 0) {
        imaging::setSourceColour(cairo, argb);
        cairo_paint(cairo);
    }
    const imaging::Rect& tile = picture.tile;
    if (picture.surface && picture.width > 0 && picture.height > 0 && !tile.empty()) {
        // A picture repeated along one direction only is cut to its row or column; one not
        // repeated at all, to its own place.
        if (!picture.repeatX) {
            cairo_rectangle(cairo, tile.left, clip.top, tile.width(), clip.height());
            cairo_clip(cairo);
        }
        if (!picture.repeatY) {
            cairo_rectangle(cairo, clip.left, tile.top, clip.width(), tile.height());
            cairo_clip(cairo);
        }
        cairo_pattern_t* pattern = cairo_pattern_create_for_surface(picture.surface);
        cairo_matrix_t matrix;
        cairo_matrix_init_scale(&matrix, static_cast<double>(picture.width) / tile.width(),
                                static_cast<double>(picture.height) / tile.height());
        cairo_matrix_translate(&matrix, -tile.left, -tile.top);
        cairo_pattern_set_matrix(pattern, &matrix);
        // A lone picture's edge pixels stretch outwards, so scaling does not fade its border.
        cairo_pattern_set_extend(
            pattern, picture.repeatX || picture.repeatY ? CAIRO_EXTEND_REPEAT : CAIRO_EXTEND_PAD);
        cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);
        cairo_set_source(cairo, pattern);
        cairo_paint(cairo);
        cairo_pattern_destroy(pattern);
    }
    cairo_restore(cairo);
}

}  // namespace platform::dom
