#include "host/browser/bar_picture.h"

namespace host::browser {

namespace {

// A window image (blue, green, red, alpha bytes) as an opaque cairo surface.
cairo_surface_t* surfaceOf(const platform::imaging::Bitmap& image) {
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, image.width(), image.height());
    unsigned char* pixels = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < image.height(); ++y) {
        const std::uint8_t* from = image.row(y);
        unsigned char* to = pixels + static_cast<std::ptrdiff_t>(y) * stride;
        for (int x = 0; x < image.width(); ++x, from += image.bytesPerPixel(), to += 4) {
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
            to[3] = 0xFF;
        }
    }
    cairo_surface_mark_dirty(surface);
    return surface;
}

}  // namespace

BarPicture::~BarPicture() {
    forget();
}

void BarPicture::forget() {
    if (surface_) {
        cairo_surface_destroy(surface_);
        surface_ = nullptr;
    }
    bar_ = {};
    state_ = {};
}

bool BarPicture::refresh(const platform::ui::CrossProcessWindows& windows, platform::ui::HWND bar) {
    platform::ui::ScreenImageState state = windows.screenImageState(bar);
    if (bar == bar_ && state == state_) {
        return false;
    }
    const platform::imaging::Bitmap image = windows.screenImage(bar);
    ++reads_;
    forget();
    if (!image.empty()) {
        surface_ = surfaceOf(image);
    }
    bar_ = bar;
    state_ = std::move(state);
    return true;
}

}  // namespace host::browser
