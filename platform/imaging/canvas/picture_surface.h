// PictureSurface: a Bitmap made ready for cairo to draw (the source of a picture painted
// onto a Canvas): its pixels copied once into cairo's premultiplied 32-bit layout, so a
// picture painted again and again (each repaint of a page) is converted once.
//
// Contract: owns its cairo surface; movable, not copyable; one thread at a time. An empty
// bitmap gives an empty surface (get() is null) that draws nothing.
#pragma once

#include "platform/imaging/bitmap.h"

typedef struct _cairo_surface cairo_surface_t;

namespace platform::imaging {

class PictureSurface {
  public:
    explicit PictureSurface(const Bitmap& picture);
    ~PictureSurface();
    PictureSurface(PictureSurface&& other) noexcept;
    PictureSurface& operator=(PictureSurface&& other) noexcept;
    PictureSurface(const PictureSurface&) = delete;
    PictureSurface& operator=(const PictureSurface&) = delete;

    cairo_surface_t* get() const { return surface_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // The bytes the surface holds.
    std::size_t bytes() const { return static_cast<std::size_t>(width_) * height_ * 4; }

  private:
    cairo_surface_t* surface_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace platform::imaging
