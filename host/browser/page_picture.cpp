#include "host/browser/page_picture.h"

#include <cstdlib>
#include <cstring>

#include "addon/export/capture/page_painter.h"
#include "platform/dom/layout_engine.h"
#include "platform/dom/window.h"

namespace host::browser {

namespace dom = platform::dom;

PagePicture::~PagePicture() {
    if (surface_) {
        cairo_surface_destroy(surface_);
    }
}

PagePicture::Shown PagePicture::shownOf(const dom::Document& page) {
    // Reading the layout first lays the page out when it changed, so the pass count below is
    // the one the picture would be painted from.
    page.layout();
    return {&page, page.version(), page.layoutPasses(), page.parentWindow().viewport(),
            page.parentWindow().scrollPosition()};
}

bool PagePicture::stale(const dom::Document& page) const {
    return !(shownOf(page) == shown_);
}

void PagePicture::paintArea(const dom::Document& page, dom::Rect pageArea, int atX, int atY) {
    const platform::imaging::Bitmap picture = addon::paintPage(page, pageArea);
    if (picture.empty()) {
        return;
    }
    cairo_surface_flush(surface_);
    unsigned char* pixels = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    const int width = cairo_image_surface_get_width(surface_);
    const int height = cairo_image_surface_get_height(surface_);
    for (int y = 0; y < picture.height() && atY + y < height; ++y) {
        const std::uint8_t* from = picture.row(y);
        unsigned char* to = pixels + static_cast<std::ptrdiff_t>(atY + y) * stride + atX * 4;
        for (int x = 0; x < picture.width() && atX + x < width; ++x, from += 3, to += 4) {
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
            to[3] = 0xFF;
        }
    }
    cairo_surface_mark_dirty(surface_);
    paintedPixels_ += static_cast<std::int64_t>(picture.width()) * picture.height();
}

cairo_surface_t* PagePicture::update(const dom::Document& page) {
    paintedPixels_ = 0;
    const Shown now = shownOf(page);
    if (now == shown_) {
        return surface_;
    }
    const dom::Size size = now.viewport;
    if (size.width <= 0 || size.height <= 0) {
        shown_ = now;
        return nullptr;
    }
    const int dy = now.scroll.y - shown_.scroll.y;
    const bool scrolledOnly =
        surface_ && now.page == shown_.page && now.version == shown_.version &&
        now.layoutPasses == shown_.layoutPasses && now.viewport == shown_.viewport &&
        now.scroll.x == shown_.scroll.x && std::abs(dy) < size.height;
    if (scrolledOnly) {
        // Moves the rows that stay in view, then paints the strip that came in.
        cairo_surface_flush(surface_);
        unsigned char* pixels = cairo_image_surface_get_data(surface_);
        const int stride = cairo_image_surface_get_stride(surface_);
        const int kept = size.height - std::abs(dy);
        if (dy > 0) {
            std::memmove(pixels, pixels + static_cast<std::ptrdiff_t>(dy) * stride,
                         static_cast<std::size_t>(kept) * stride);
        } else {
            std::memmove(pixels + static_cast<std::ptrdiff_t>(-dy) * stride, pixels,
                         static_cast<std::size_t>(kept) * stride);
        }
        cairo_surface_mark_dirty(surface_);
        const int top = dy > 0 ? now.scroll.y + kept : now.scroll.y;
        paintArea(page, {now.scroll.x, top, now.scroll.x + size.width, top + std::abs(dy)}, 0,
                  dy > 0 ? kept : 0);
        shown_ = now;
        return surface_;
    }
    if (!surface_ || cairo_image_surface_get_width(surface_) != size.width ||
        cairo_image_surface_get_height(surface_) != size.height) {
        if (surface_) {
            cairo_surface_destroy(surface_);
        }
        surface_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, size.width, size.height);
    }
    paintArea(page,
              {now.scroll.x, now.scroll.y, now.scroll.x + size.width, now.scroll.y + size.height},
              0, 0);
    shown_ = now;
    return surface_;
}

}  // namespace host::browser
