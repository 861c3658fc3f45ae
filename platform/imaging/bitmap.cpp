#include "platform/imaging/bitmap.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace platform::imaging {

Bitmap::Bitmap(int width, int height, PixelFormat format) : format_(format) {
    if (width < 0 || height < 0) {
        throw std::invalid_argument("bitmap size is negative");
    }
    const std::size_t limit = std::numeric_limits<std::ptrdiff_t>::max() / 4;
    if (height != 0 && static_cast<std::size_t>(width) > limit / static_cast<std::size_t>(height)) {
        throw std::invalid_argument("bitmap size is too large");
    }
    width_ = width;
    height_ = height;
    pixels_.assign(stride() * height_, 0);
}

std::uint32_t Bitmap::pixel(int x, int y) const {
    const std::uint8_t* p = row(y) + static_cast<std::size_t>(x) * bytesPerPixel();
    const std::uint32_t alpha = format_ == PixelFormat::Argb32 ? p[3] : 0xFF;
    return alpha << 24 | static_cast<std::uint32_t>(p[2]) << 16 |
           static_cast<std::uint32_t>(p[1]) << 8 | p[0];
}

void Bitmap::setPixel(int x, int y, std::uint32_t argb) {
    std::uint8_t* p = row(y) + static_cast<std::size_t>(x) * bytesPerPixel();
    p[0] = static_cast<std::uint8_t>(argb);
    p[1] = static_cast<std::uint8_t>(argb >> 8);
    p[2] = static_cast<std::uint8_t>(argb >> 16);
    if (format_ == PixelFormat::Argb32) {
        p[3] = static_cast<std::uint8_t>(argb >> 24);
    }
}

void Bitmap::fill(std::uint32_t argb) {
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            setPixel(x, y, argb);
        }
    }
}

Rect Bitmap::clampRect(Rect rect) const {
    rect.left = std::clamp(rect.left, 0, width_);
    rect.right = std::clamp(rect.right, rect.left, width_);
    rect.top = std::clamp(rect.top, 0, height_);
    rect.bottom = std::clamp(rect.bottom, rect.top, height_);
    return rect;
}

void Bitmap::drawBitmap(const Bitmap& source, Rect sourceRect, int x, int y) {
    // Move the part that would land left of or above this bitmap out of the rectangle.
    if (x < 0) {
        sourceRect.left -= x;
        x = 0;
    }
    if (y < 0) {
        sourceRect.top -= y;
        y = 0;
    }
    const int dx = x - sourceRect.left;
    const int dy = y - sourceRect.top;
    Rect from = source.clampRect(sourceRect);
    from.right = std::min(from.right, width_ - dx);
    from.bottom = std::min(from.bottom, height_ - dy);
    if (from.empty()) {
        return;
    }
    const int fromBpp = source.bytesPerPixel();
    const int toBpp = bytesPerPixel();
    for (int sy = from.top; sy < from.bottom; ++sy) {
        const std::uint8_t* in = source.row(sy) + static_cast<std::size_t>(from.left) * fromBpp;
        std::uint8_t* out = row(sy + dy) + static_cast<std::size_t>(from.left + dx) * toBpp;
        if (source.format_ == format_) {
            std::memcpy(out, in, static_cast<std::size_t>(from.width()) * toBpp);
            continue;
        }
        // Both keep blue, green, red in their first three bytes; only one has alpha.
        const bool withAlpha = format_ == PixelFormat::Argb32;
        for (int n = from.width(); n > 0; --n, in += fromBpp, out += toBpp) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            if (withAlpha)
                out[3] = 0xFF;
        }
    }
}

std::vector<std::uint8_t> Bitmap::copyRgb24(const Rect& rect) const {
    const Rect area = clampRect(rect);
    std::vector<std::uint8_t> bytes;
    if (area.empty()) {
        return bytes;
    }
    bytes.resize(static_cast<std::size_t>(area.width()) * area.height() * 3);
    std::uint8_t* out = bytes.data();
    const int bpp = bytesPerPixel();
    for (int y = area.top; y < area.bottom; ++y) {
        const std::uint8_t* in = row(y) + static_cast<std::size_t>(area.left) * bpp;
        for (int x = area.left; x < area.right; ++x, in += bpp) {
            *out++ = in[0];
            *out++ = in[1];
            *out++ = in[2];
        }
    }
    return bytes;
}

}  // namespace platform::imaging
