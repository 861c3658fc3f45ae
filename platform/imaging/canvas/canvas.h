// Canvas: drawing onto a 32-bit bitmap with cairo, within a clip, as a device context
// would: fills (blended by the colour's alpha), vertical gradients, one-pixel lines and
// frames, one-bit patterns, pictures blended by their alpha (also scaled smoothly to a
// rectangle), silhouettes of pictures, and single lines of text in a TextFont (placed in a
// rectangle, vertically centred, cut with an ellipsis when too wide). Anything else is
// drawn through paint(), which hands out the cairo context itself. The result is read
// back pixel by pixel or written as a PNG file.
//
// Colours are 0xAARRGGBB. The pixels stay opaque: the background is laid over white, and
// everything drawn blends over what is there. Contract: movable, not copyable; owned by
// one thread at a time; saving reports failures through the imaging Status and writes the
// file whole or not at all.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/imaging/bitmap.h"
#include "platform/imaging/canvas/rounded_box.h"
#include "platform/imaging/image_status.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace platform::imaging {

class TextFont;

// Text placement flags (the same meaning as the platform's DrawText flags).
inline constexpr unsigned DT_VCENTER = 0x4;
inline constexpr unsigned DT_SINGLELINE = 0x20;
inline constexpr unsigned DT_END_ELLIPSIS = 0x8000;

// Makes `color` (0xAARRGGBB) the source cairo paints with.
void setSourceColour(cairo_t* cairo, std::uint32_t color);

class Canvas {
  public:
    Canvas(int width, int height, std::uint32_t background = 0xFFFFFFFF);
    ~Canvas();
    Canvas(Canvas&& other) noexcept;
    Canvas& operator=(Canvas&& other) noexcept;
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    int width() const { return bitmap_.width(); }
    int height() const { return bitmap_.height(); }
    const Bitmap& bitmap() const;
    std::uint32_t pixel(int x, int y) const { return bitmap().pixel(x, y); }

    // Drawing stays inside `clip` (and the bitmap), and inside each of `shapes`, until the
    // clip is set again or reset.
    void setClip(Rect clip, const std::vector<RoundedBox>& shapes = {});
    void resetClip();
    Rect clip() const { return clip_; }

    // Covers the rectangle with `color`, blended by its alpha.
    void fillRect(Rect rect, std::uint32_t color);
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
    // The picture scaled smoothly over `target`, blended by its alpha.
    void drawPicture(const Bitmap& picture, Rect target);
    // The picture's shape in one colour: each pixel covered as far as the picture's alpha.
    void drawSilhouette(const Bitmap& picture, int x, int y, std::uint32_t color);

    // One line of text placed in `rect` from its left edge; see the DT_ flags (line breaks
    // are dropped). Returns the width of what was drawn.
    int drawText(std::wstring_view text, Rect rect, const TextFont& font, std::uint32_t color,
                 unsigned flags);

    // Runs `painter` with the cairo context that draws onto the canvas's pixels (user space
    // in canvas pixels, within the clip); the context's state is restored afterwards.
    void paint(const std::function<void(cairo_t*)>& painter);

    Status savePng(const std::string& path) const;

  private:
    void release();

    Bitmap bitmap_;
    Rect clip_;
    cairo_surface_t* surface_ = nullptr;
    cairo_t* cairo_ = nullptr;
};

}  // namespace platform::imaging
