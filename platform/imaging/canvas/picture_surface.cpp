#include "platform/imaging/canvas/picture_surface.h"

#include <cairo.h>

#include <utility>

namespace platform::imaging {

PictureSurface::PictureSurface(const Bitmap& picture) {
    if (picture.empty())
        return;
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, picture.width(), picture.height());
    if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface_);
        surface_ = nullptr;
        return;
    }
    width_ = picture.width();
    height_ = picture.height();
    cairo_surface_flush(surface_);
    unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    for (int y = 0; y < height_; ++y) {
        auto* out = reinterpret_cast<std::uint32_t*>(data + static_cast<std::size_t>(stride) * y);
        const std::uint8_t* in = picture.row(y);
        const int step = picture.bytesPerPixel();
        for (int x = 0; x < width_; ++x, in += step) {
            const std::uint32_t alpha = step == 4 ? in[3] : 0xFF;
            const auto premultiplied = [alpha](std::uint32_t channel) {
                return alpha == 0xFF ? channel : (channel * alpha + 127) / 255;
            };
            out[x] = alpha << 24 | premultiplied(in[2]) << 16 | premultiplied(in[1]) << 8 |
                     premultiplied(in[0]);
        }
    }
    cairo_surface_mark_dirty(surface_);
}

PictureSurface::~PictureSurface() {
    if (surface_)
        cairo_surface_destroy(surface_);
}

PictureSurface::PictureSurface(PictureSurface&& other) noexcept
    : surface_(std::exchange(other.surface_, nullptr)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)) {}

PictureSurface& PictureSurface::operator=(PictureSurface&& other) noexcept {
    if (this != &other) {
        if (surface_)
            cairo_surface_destroy(surface_);
        surface_ = std::exchange(other.surface_, nullptr);
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
    }
    return *this;
}

}  // namespace platform::imaging
