// Canvas: drawing onto a 32-bit bitmap with a clip rectangle, as a device context would:
// flat and vertical-gradient fills, translucent shading, one-pixel lines and frames,
// one-bit patterns, pictures blended by their alpha (also scaled to a rectangle),
// silhouettes of pictures, and single lines of text in a FontFace (placed in a rectangle,
// vertically centred, cut with an ellipsis when too wide, or set on a baseline). The
// result is read back pixel by pixel or written as a PNG file.
//
// Colours are 0xAARRGGBB; fills and lines are opaque, shading blends by its alpha. Coordinates
// outside the bitmap or the clip are left out. Contract: a value type owned by one thread at a
// time; saving reports failures through the imaging Status and writes the file whole or not at all.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/imaging/bitmap.h"
#include "platform/imaging/font_face.h"
#include "platform/imaging/image_status.h"

typedef struct _cairo cairo_t;

namespace platform::imaging {

// Text placement flags (the same meaning as the platform's DrawText flags).
inline constexpr unsigned DT_VCENTER = 0x4;
inline constexpr unsigned DT_SINGLELINE = 0x20;
inline constexpr unsigned DT_END_ELLIPSIS = 0x8000;

class Canvas {
  public:
    Canvas(int width, int height, std::uint32_t background = 0xFFFFFFFF);

    int width() const { return bitmap_.width(); }
    int height() const { return bitmap_.height(); }
    const Bitmap& bitmap() const { return bitmap_; }
    std::uint32_t pixel(int x, int y) const { return bitmap_.pixel(x, y); }

    // Drawing stays inside `clip` (and the bitmap) until the clip is reset.
    void setClip(Rect clip);
    void resetClip();
    Rect clip() const { return clip_; }

    void fillRect(Rect rect, std::uint32_t color);
    // Blends `color` over the rectangle by `alpha` (0..255).
    void shadeRect(Rect rect, std::uint32_t color, int alpha);
    // Top row `top`, bottom row `bottom`, rows between interpolated per channel.
    void fillGradientVertical(Rect rect, std::uint32_t top, std::uint32_t bottom);
    void horizontalLine(int left, int right, int y, std::uint32_t color);
    void verticalLine(int x, int top, int bottom, std::uint32_t color);
    // A one-pixel frame along the rectangle's inner edge.
    void frameRect(Rect rect, std::uint32_t color);

    // A one-bit pattern, `rows[y]` holding the row's bits with the most significant bit
    // leftmost (width at most 8): pixels whose bit equals `paintedBit` get `color`.
    void drawPattern(const std::uint8_t* rows, int width, int height, int x, int y, bool paintedBit,
                     std::uint32_t color);
    // A picture blended by its alpha at (x, y).
    void drawPicture(const Bitmap& picture, int x, int y);
    // The picture stretched over `target` (nearest pixel), blended by its alpha.
    void drawPictureScaled(const Bitmap& picture, Rect target);
    // Every pixel of the picture that is not fully transparent, in one colour.
    void drawSilhouette(const Bitmap& picture, int x, int y, std::uint32_t color);

    // One line of text placed in `rect` from its left edge; see the DT_ flags. Returns the
    // width of what was drawn.
    int drawText(std::wstring_view text, Rect rect, const FontFace& font, std::uint32_t color,
                 unsigned flags);

    // One line of text from the pen position x on the baseline; returns its advance.
    int drawTextAt(std::u32string_view text, int x, int baseline, const FontFace& font,
                   std::uint32_t color);

    // Runs `painter` with a cairo context that draws onto the canvas's pixels (user space in
    // canvas pixels) within its clip.
    void paint(const std::function<void(cairo_t*)>& painter);

    Status savePng(const std::string& path) const;

  private:
    void blend(int x, int y, std::uint32_t color, int coverage);
    void drawGlyph(const GlyphImage& glyph, int pen, int baseline, std::uint32_t color);
    bool inside(int x, int y) const;

    Bitmap bitmap_;
    Rect clip_;
};

}  // namespace platform::imaging
