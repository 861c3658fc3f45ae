#include "platform/imaging/canvas.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/imaging/image_codecs.h"

namespace platform::imaging {

namespace {

// Characters drawn as nothing but their advance.
bool isBlank(char32_t c) {
    return c == U' ' || c == U'\t' || c == 0xA0;
}

int channel(std::uint32_t color, int shift) {
    return static_cast<int>((color >> shift) & 0xFF);
}

std::uint32_t opaque(int red, int green, int blue) {
    return 0xFF000000u | (static_cast<std::uint32_t>(red) << 16) |
           (static_cast<std::uint32_t>(green) << 8) | static_cast<std::uint32_t>(blue);
}

std::uint32_t mix(std::uint32_t from, std::uint32_t to, int weight, int total) {
    const auto between = [&](int shift) {
        return channel(from, shift) + (channel(to, shift) - channel(from, shift)) * weight / total;
    };
    return opaque(between(16), between(8), between(0));
}

}  // namespace

Canvas::Canvas(int width, int height, std::uint32_t background)
    : bitmap_(width, height, PixelFormat::Argb32), clip_{0, 0, width, height} {
    bitmap_.fill(background);
}

void Canvas::setClip(Rect clip) {
    clip_ = {std::max(clip.left, 0), std::max(clip.top, 0), std::min(clip.right, width()),
             std::min(clip.bottom, height())};
}

void Canvas::resetClip() {
    clip_ = {0, 0, width(), height()};
}

bool Canvas::inside(int x, int y) const {
    return x >= clip_.left && x < clip_.right && y >= clip_.top && y < clip_.bottom;
}

void Canvas::blend(int x, int y, std::uint32_t color, int coverage) {
    if (!inside(x, y) || coverage <= 0)
        return;
    if (coverage >= 255) {
        bitmap_.setPixel(x, y, color | 0xFF000000u);
        return;
    }
    bitmap_.setPixel(x, y, mix(bitmap_.pixel(x, y), color, coverage, 255));
}

void Canvas::fillRect(Rect rect, std::uint32_t color) {
    for (int y = std::max(rect.top, clip_.top); y < std::min(rect.bottom, clip_.bottom); ++y)
        for (int x = std::max(rect.left, clip_.left); x < std::min(rect.right, clip_.right); ++x)
            bitmap_.setPixel(x, y, color | 0xFF000000u);
}

void Canvas::shadeRect(Rect rect, std::uint32_t color, int alpha) {
    for (int y = std::max(rect.top, clip_.top); y < std::min(rect.bottom, clip_.bottom); ++y)
        for (int x = std::max(rect.left, clip_.left); x < std::min(rect.right, clip_.right); ++x)
            blend(x, y, color, alpha);
}

void Canvas::fillGradientVertical(Rect rect, std::uint32_t top, std::uint32_t bottom) {
    const int rows = rect.height();
    for (int row = 0; row < rows; ++row) {
        const std::uint32_t color = rows > 1 ? mix(top, bottom, row, rows - 1) : top;
        horizontalLine(rect.left, rect.right, rect.top + row, color);
    }
}

void Canvas::horizontalLine(int left, int right, int y, std::uint32_t color) {
    fillRect({left, y, right, y + 1}, color);
}

void Canvas::verticalLine(int x, int top, int bottom, std::uint32_t color) {
    fillRect({x, top, x + 1, bottom}, color);
}

void Canvas::frameRect(Rect rect, std::uint32_t color) {
    if (rect.empty())
        return;
    horizontalLine(rect.left, rect.right, rect.top, color);
    horizontalLine(rect.left, rect.right, rect.bottom - 1, color);
    verticalLine(rect.left, rect.top, rect.bottom, color);
    verticalLine(rect.right - 1, rect.top, rect.bottom, color);
}

void Canvas::drawPattern(const std::uint8_t* rows, int width, int height, int x, int y,
                         bool paintedBit, std::uint32_t color) {
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width && column < 8; ++column) {
            const bool bit = (rows[row] >> (7 - column)) & 1;
            if (bit == paintedBit)
                blend(x + column, y + row, color, 255);
        }
}

void Canvas::drawPicture(const Bitmap& picture, int x, int y) {
    for (int row = 0; row < picture.height(); ++row)
        for (int column = 0; column < picture.width(); ++column) {
            const std::uint32_t color = picture.pixel(column, row);
            blend(x + column, y + row, color, channel(color, 24));
        }
}

void Canvas::drawPictureScaled(const Bitmap& picture, Rect target) {
    if (picture.empty() || target.empty())
        return;
    const int width = target.width();
    const int height = target.height();
    for (int y = std::max(target.top, clip_.top); y < std::min(target.bottom, clip_.bottom); ++y) {
        const int sourceY =
            static_cast<int>(static_cast<long long>(y - target.top) * picture.height() / height);
        for (int x = std::max(target.left, clip_.left); x < std::min(target.right, clip_.right);
             ++x) {
            const int sourceX =
                static_cast<int>(static_cast<long long>(x - target.left) * picture.width() / width);
            const std::uint32_t color = picture.pixel(sourceX, sourceY);
            blend(x, y, color, channel(color, 24));
        }
    }
}

void Canvas::drawSilhouette(const Bitmap& picture, int x, int y, std::uint32_t color) {
    for (int row = 0; row < picture.height(); ++row)
        for (int column = 0; column < picture.width(); ++column)
            if (channel(picture.pixel(column, row), 24) != 0)
                blend(x + column, y + row, color, 255);
}

int Canvas::drawText(std::wstring_view text, Rect rect, const FontFace& font, std::uint32_t color,
                     unsigned flags) {
    if (!font.valid())
        return 0;
    std::u32string line;
    for (wchar_t c : text) {
        if ((flags & DT_SINGLELINE) && (c == L'\n' || c == L'\r'))
            continue;
        line.push_back(static_cast<char32_t>(c));
    }
    if ((flags & DT_END_ELLIPSIS) && font.textWidth(line) > rect.width()) {
        const std::u32string ellipsis = U"...";
        while (!line.empty() && font.textWidth(line + ellipsis) > rect.width())
            line.pop_back();
        line += ellipsis;
    }
    const int top =
        (flags & DT_VCENTER) ? rect.top + (rect.height() - font.lineHeight()) / 2 : rect.top;
    const Rect saved = clip_;
    setClip({std::max(rect.left, saved.left), std::max(rect.top, saved.top),
             std::min(rect.right, saved.right), std::min(rect.bottom, saved.bottom)});
    const int width = drawTextAt(line, rect.left, top + font.ascent(), font, color);
    clip_ = saved;
    return width;
}

int Canvas::drawTextAt(std::u32string_view text, int x, int baseline, const FontFace& font,
                       std::uint32_t color) {
    int pen = x;
    for (char32_t c : text) {
        if (!isBlank(c))
            drawGlyph(font.glyph(c), pen, baseline, color);
        pen += font.advance(c);
    }
    return pen - x;
}

void Canvas::drawGlyph(const GlyphImage& glyph, int pen, int baseline, std::uint32_t color) {
    for (int row = 0; row < glyph.height; ++row)
        for (int column = 0; column < glyph.width; ++column)
            blend(pen + glyph.left + column, baseline - glyph.top + row, color,
                  glyph.coverage[static_cast<std::size_t>(row) * glyph.width + column]);
}

void Canvas::paint(const std::function<void(cairo_t*)>& painter) {
    if (clip_.empty())
        return;
    // The bitmap's 32-bit pixels are cairo's ARGB32 layout; they are opaque or, where a
    // picture was drawn, already blended, so reading them as premultiplied is exact.
    cairo_surface_t* surface =
        cairo_image_surface_create_for_data(bitmap_.row(0), CAIRO_FORMAT_ARGB32, bitmap_.width(),
                                            bitmap_.height(), static_cast<int>(bitmap_.stride()));
    cairo_t* cairo = cairo_create(surface);
    cairo_rectangle(cairo, clip_.left, clip_.top, clip_.width(), clip_.height());
    cairo_clip(cairo);
    painter(cairo);
    cairo_destroy(cairo);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
}

Status Canvas::savePng(const std::string& path) const {
    return saveBitmap(bitmap_, path, "image/png");
}

}  // namespace platform::imaging
