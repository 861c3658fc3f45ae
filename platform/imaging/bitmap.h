// Bitmap: a picture in memory, 24-bit RGB or 32-bit ARGB, stored top row first with
// rows packed tightly. The bytes of a pixel are in memory order blue, green, red (and
// alpha for 32-bit), as the imaging service keeps them.
//
// Contract: a value type (copies copy the pixels). The constructor throws
// std::invalid_argument for a negative size or one whose byte count does not fit, and
// std::bad_alloc when the memory cannot be had; a size of 0 gives an empty bitmap.
// Pixel coordinates passed to pixel/setPixel must lie inside the bitmap. Not
// synchronised: one thread at a time per bitmap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::imaging {

enum class PixelFormat { Rgb24, Argb32 };

// Left and top inclusive, right and bottom exclusive.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
};

class Bitmap {
  public:
    Bitmap() = default;
    Bitmap(int width, int height, PixelFormat format);

    int width() const { return width_; }
    int height() const { return height_; }
    PixelFormat format() const { return format_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    int bytesPerPixel() const { return format_ == PixelFormat::Rgb24 ? 3 : 4; }
    std::size_t stride() const { return static_cast<std::size_t>(width_) * bytesPerPixel(); }

    std::uint8_t* row(int y) { return pixels_.data() + stride() * y; }
    const std::uint8_t* row(int y) const { return pixels_.data() + stride() * y; }

    // Colours as 0xAARRGGBB; a 24-bit pixel reads with alpha 0xFF and drops it on writing.
    std::uint32_t pixel(int x, int y) const;
    void setPixel(int x, int y, std::uint32_t argb);
    void fill(std::uint32_t argb);

    // Copies the pixels of `sourceRect` in `source` so that its top left corner lands at
    // (x, y); the part outside either bitmap is left out. Pixels are converted between
    // the formats (a 24-bit pixel becomes opaque), not blended.
    void drawBitmap(const Bitmap& source, Rect sourceRect, int x, int y);

    // The part of the bitmap bounds `rect` covers, and its pixels as rows of blue,
    // green, red bytes (alpha dropped); `rect` is clamped to the bitmap first.
    Rect clampRect(Rect rect) const;
    std::vector<std::uint8_t> copyRgb24(const Rect& rect) const;

  private:
    int width_ = 0;
    int height_ = 0;
    PixelFormat format_ = PixelFormat::Rgb24;
    std::vector<std::uint8_t> pixels_;
};

}  // namespace platform::imaging
