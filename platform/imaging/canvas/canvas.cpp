#include "platform/imaging/canvas/canvas.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/imaging/canvas/picture_surface.h"
#include "platform/imaging/canvas/text_font.h"
#include "platform/imaging/codecs/image_codecs.h"
#include "platform/text/utf.h"

namespace platform::imaging {

namespace {

double channel(std::uint32_t color, int shift) {
    return static_cast<double>((color >> shift) & 0xFF) / 255.0;
}

// The colour laid over white: what a translucent background shows on a blank page.
std::uint32_t overWhite(std::uint32_t color) {
    const std::uint32_t alpha = color >> 24;
    const auto over = [&](int shift) {
        const std::uint32_t value = (color >> shift) & 0xFF;
        return (value * alpha + 255 * (255 - alpha) + 127) / 255;
    };
    return 0xFF000000u | over(16) << 16 | over(8) << 8 | over(0);
}

}  // namespace

Canvas::Canvas(int width, int height, std::uint32_t background)
    : bitmap_(width, height, PixelFormat::Argb32), clip_{0, 0, width, height} {
    bitmap_.fill(overWhite(background));
    if (bitmap_.empty())
        return;
    // The bitmap's 32-bit pixels are cairo's ARGB32 layout, and being opaque they read the
    // same premultiplied.
    surface_ =
        cairo_image_surface_create_for_data(bitmap_.row(0), CAIRO_FORMAT_ARGB32, bitmap_.width(),
                                            bitmap_.height(), static_cast<int>(bitmap_.stride()));
    cairo_ = cairo_create(surface_);
}

Canvas::~Canvas() {
    release();
}

void Canvas::release() {
    if (cairo_)
        cairo_destroy(cairo_);
    if (surface_)
        cairo_surface_destroy(surface_);
    cairo_ = nullptr;
    surface_ = nullptr;
}

// The pixels live in the bitmap's heap block, which moves along with the bitmap.
Canvas::Canvas(Canvas&& other) noexcept
    : bitmap_(std::move(other.bitmap_)),
      clip_(other.clip_),
      surface_(std::exchange(other.surface_, nullptr)),
      cairo_(std::exchange(other.cairo_, nullptr)) {}

Canvas& Canvas::operator=(Canvas&& other) noexcept {
    if (this != &other) {
        release();
        bitmap_ = std::move(other.bitmap_);
        clip_ = other.clip_;
        surface_ = std::exchange(other.surface_, nullptr);
        cairo_ = std::exchange(other.cairo_, nullptr);
    }
    return *this;
}

const Bitmap& Canvas::bitmap() const {
    if (surface_)
        cairo_surface_flush(surface_);
    return bitmap_;
}

void Canvas::setClip(Rect clip, const std::vector<RoundedBox>& shapes) {
    clip_ = {std::max(clip.left, 0), std::max(clip.top, 0), std::min(clip.right, width()),
             std::min(clip.bottom, height())};
    if (!cairo_)
        return;
    cairo_reset_clip(cairo_);
    cairo_rectangle(cairo_, clip_.left, clip_.top, std::max(0, clip_.width()),
                    std::max(0, clip_.height()));
    cairo_clip(cairo_);
    for (const RoundedBox& shape : shapes) {
        traceRoundedBox(cairo_, shape.fitted());
        cairo_clip(cairo_);
    }
}

void Canvas::resetClip() {
    setClip({0, 0, width(), height()});
}

void setSourceColour(cairo_t* cairo, std::uint32_t color) {
    cairo_set_source_rgba(cairo, channel(color, 16), channel(color, 8), channel(color, 0),
                          channel(color, 24));
}

void Canvas::fillRect(Rect rect, std::uint32_t color) {
    if (!cairo_ || rect.empty() || (color >> 24) == 0)
        return;
    setSourceColour(cairo_, color);
    cairo_rectangle(cairo_, rect.left, rect.top, rect.width(), rect.height());
    cairo_fill(cairo_);
}

void Canvas::fillGradientVertical(Rect rect, std::uint32_t top, std::uint32_t bottom) {
    if (!cairo_ || rect.empty())
        return;
    // From the middle of the top row to the middle of the bottom row.
    cairo_pattern_t* gradient = cairo_pattern_create_linear(
        0, rect.top + 0.5, 0, std::max(rect.bottom - 0.5, rect.top + 0.5));
    cairo_pattern_add_color_stop_rgba(gradient, 0, channel(top, 16), channel(top, 8),
                                      channel(top, 0), channel(top, 24));
    cairo_pattern_add_color_stop_rgba(gradient, 1, channel(bottom, 16), channel(bottom, 8),
                                      channel(bottom, 0), channel(bottom, 24));
    cairo_set_source(cairo_, gradient);
    cairo_rectangle(cairo_, rect.left, rect.top, rect.width(), rect.height());
    cairo_fill(cairo_);
    cairo_pattern_destroy(gradient);
}

void Canvas::horizontalLine(int left, int right, int y, std::uint32_t color) {
    fillRect({left, y, right, y + 1}, color);
}

void Canvas::verticalLine(int x, int top, int bottom, std::uint32_t color) {
    fillRect({x, top, x + 1, bottom}, color);
}

void Canvas::frameRect(Rect rect, std::uint32_t color) {
    if (!cairo_ || rect.empty() || (color >> 24) == 0)
        return;
    setSourceColour(cairo_, color);
    cairo_rectangle(cairo_, rect.left, rect.top, rect.width(), rect.height());
    cairo_rectangle(cairo_, rect.left + 1, rect.top + 1, std::max(0, rect.width() - 2),
                    std::max(0, rect.height() - 2));
    cairo_set_fill_rule(cairo_, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_fill(cairo_);
    cairo_set_fill_rule(cairo_, CAIRO_FILL_RULE_WINDING);
}

void Canvas::drawPattern(const std::uint8_t* rows, int width, int height, int x, int y,
                         bool paintedBit, std::uint32_t color) {
    if (!cairo_)
        return;
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width && column < 8; ++column)
            if (((rows[row] >> (7 - column)) & 1) == static_cast<int>(paintedBit))
                cairo_rectangle(cairo_, x + column, y + row, 1, 1);
    setSourceColour(cairo_, color);
    cairo_fill(cairo_);
}

void Canvas::drawPicture(const Bitmap& picture, int x, int y) {
    drawPicture(picture, Rect{x, y, x + picture.width(), y + picture.height()});
}

void Canvas::drawPicture(const Bitmap& picture, Rect target) {
    if (!cairo_ || picture.empty() || target.empty())
        return;
    const PictureSurface source(picture);
    if (!source.get())
        return;
    cairo_save(cairo_);
    cairo_rectangle(cairo_, target.left, target.top, target.width(), target.height());
    cairo_clip(cairo_);
    cairo_translate(cairo_, target.left, target.top);
    cairo_scale(cairo_, static_cast<double>(target.width()) / picture.width(),
                static_cast<double>(target.height()) / picture.height());
    cairo_set_source_surface(cairo_, source.get(), 0, 0);
    // The edge pixels stretch outwards, so the picture's border does not fade to nothing.
    cairo_pattern_set_extend(cairo_get_source(cairo_), CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(cairo_get_source(cairo_), CAIRO_FILTER_GOOD);
    cairo_paint(cairo_);
    cairo_restore(cairo_);
}

void Canvas::drawSilhouette(const Bitmap& picture, int x, int y, std::uint32_t color) {
    if (!cairo_ || picture.empty())
        return;
    const PictureSurface shape(picture);
    if (!shape.get())
        return;
    setSourceColour(cairo_, color);
    cairo_mask_surface(cairo_, shape.get(), x, y);
}

int Canvas::drawText(std::wstring_view text, Rect rect, const TextFont& font, std::uint32_t color,
                     unsigned flags) {
    std::wstring line;
    for (wchar_t c : text)
        if (!(flags & DT_SINGLELINE) || (c != L'\n' && c != L'\r'))
            line.push_back(c);
    std::string utf8 = platform::text::toUtf8(line);
    double width = font.width(utf8);
    if ((flags & DT_END_ELLIPSIS) && width > rect.width()) {
        // The longest start that fits with the ellipsis after it.
        const std::wstring ellipsis = L"\u2026";
        std::size_t fits = 0, over = line.size();
        while (fits + 1 < over) {
            const std::size_t middle = (fits + over) / 2;
            if (font.width(platform::text::toUtf8(line.substr(0, middle) + ellipsis)) <=
                rect.width())
                fits = middle;
            else
                over = middle;
        }
        utf8 = platform::text::toUtf8(line.substr(0, fits) + ellipsis);
        width = font.width(utf8);
    }
    const int top =
        (flags & DT_VCENTER) ? rect.top + (rect.height() - font.lineHeight()) / 2 : rect.top;
    if (!cairo_)
        return 0;
    cairo_save(cairo_);
    cairo_rectangle(cairo_, rect.left, rect.top, rect.width(), rect.height());
    cairo_clip(cairo_);
    font.draw(*this, utf8, rect.left, top + font.ascent(), color, 1.0);
    cairo_restore(cairo_);
    return static_cast<int>(std::lround(std::min<double>(width, rect.width())));
}

void Canvas::paint(const std::function<void(cairo_t*)>& painter) {
    if (!cairo_ || clip_.empty())
        return;
    cairo_save(cairo_);
    painter(cairo_);
    cairo_restore(cairo_);
}

Status Canvas::savePng(const std::string& path) const {
    return saveBitmap(bitmap(), path, "image/png");
}

}  // namespace platform::imaging
