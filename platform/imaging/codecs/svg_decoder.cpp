// SVG pictures through librsvg: the size a browser gives a picture of its own, that is the
// width and height the svg element names (in any absolute unit), else its viewBox's, else
// 300x150; drawn with cairo into a 32-bit bitmap with straight alpha. The document is read
// from the bytes alone: nothing it refers to outside itself is loaded.
//
// librsvg is loaded with the first SVG picture, not with the program: it and the libraries
// only it needs are a quarter of the relocations a program's start does, and most pages hold
// no SVG picture. Where it cannot be loaded, SVG pictures fail to decode as damaged ones do.
#include <librsvg/rsvg.h>

#include <algorithm>
#include <cmath>

#include "platform/imaging/codecs/codec_formats.h"
#include "platform/system/module.h"

namespace platform::imaging::detail {

namespace {

constexpr double kDefaultWidth = 300;
constexpr double kDefaultHeight = 150;
// Larger pictures are drawn smaller, keeping their shape.
constexpr double kMaxSide = 4096;

// Whether the bytes begin (after a mark, white space, an XML declaration, comments and a
// doctype) with an svg element.
bool looksLikeSvg(std::string_view bytes) {
    const std::string_view head = bytes.substr(0, 4096);
    const std::size_t svg = head.find("<svg");
    if (svg == std::string_view::npos)
        return false;
    for (std::size_t at = head.find('<'); at < svg; at = head.find('<', at + 1)) {
        const std::string_view rest = head.substr(at);
        if (!rest.starts_with("<?") && !rest.starts_with("<!"))
            return false;
    }
    return true;
}

// The librsvg functions this decoder calls.
struct Rsvg {
    decltype(&rsvg_handle_new_from_data) newFromData = nullptr;
    decltype(&rsvg_handle_set_dpi) setDpi = nullptr;
    decltype(&rsvg_handle_get_intrinsic_size_in_pixels) intrinsicSizeInPixels = nullptr;
    decltype(&rsvg_handle_get_intrinsic_dimensions) intrinsicDimensions = nullptr;
    decltype(&rsvg_handle_render_document) renderDocument = nullptr;
};

// The library, loaded by the first call (any thread; the others wait for it) and kept for
// the process; null when it cannot be loaded.
const Rsvg* rsvg() {
    static const Rsvg* const loaded = []() -> const Rsvg* {
        // Never closed: pictures may be decoded on other threads until the program ends.
        static auto* const library = new platform::system::Module;
        static Rsvg functions;
        const bool complete =
            library->open("librsvg-2.so.2") &&
            library->bind(functions.newFromData, "rsvg_handle_new_from_data") &&
            library->bind(functions.setDpi, "rsvg_handle_set_dpi") &&
            library->bind(functions.intrinsicSizeInPixels,
                          "rsvg_handle_get_intrinsic_size_in_pixels") &&
            library->bind(functions.intrinsicDimensions, "rsvg_handle_get_intrinsic_dimensions") &&
            library->bind(functions.renderDocument, "rsvg_handle_render_document");
        return complete ? &functions : nullptr;
    }();
    return loaded;
}

struct Size {
    double width = kDefaultWidth;
    double height = kDefaultHeight;
};

Size pictureSize(const Rsvg& rsvg, RsvgHandle* handle) {
    Size size;
    double width = 0;
    double height = 0;
    if (rsvg.intrinsicSizeInPixels(handle, &width, &height) && width > 0 && height > 0)
        return {width, height};
    gboolean hasWidth = FALSE;
    gboolean hasHeight = FALSE;
    gboolean hasViewBox = FALSE;
    RsvgLength lengthWidth;
    RsvgLength lengthHeight;
    RsvgRectangle viewBox;
    rsvg.intrinsicDimensions(handle, &hasWidth, &lengthWidth, &hasHeight, &lengthHeight,
                             &hasViewBox, &viewBox);
    if (hasViewBox && viewBox.width > 0 && viewBox.height > 0)
        size = {viewBox.width, viewBox.height};
    return size;
}

}  // namespace

namespace {

// The document drawn at `width` by `height` pixels (at its own size when either is 0),
// into `bitmap` with straight alpha.
Status render(std::string_view bytes, int width, int height, Bitmap& bitmap) {
    if (!looksLikeSvg(bytes))
        return Status::UnknownImageFormat;
    const Rsvg* const library = rsvg();
    if (!library)
        return Status::GenericError;
    GError* error = nullptr;
    RsvgHandle* handle =
        library->newFromData(reinterpret_cast<const guint8*>(bytes.data()), bytes.size(), &error);
    if (!handle) {
        if (error)
            g_error_free(error);
        return Status::GenericError;
    }
    library->setDpi(handle, 96);  // a CSS inch
    if (width <= 0 || height <= 0) {
        const Size size = pictureSize(*library, handle);
        const double shrink = std::min(1.0, kMaxSide / std::max(size.width, size.height));
        width = std::max(1, static_cast<int>(std::lround(size.width * shrink)));
        height = std::max(1, static_cast<int>(std::lround(size.height * shrink)));
    }
    if (static_cast<unsigned long long>(width) * height > kMaxDecodedPixels) {
        g_object_unref(handle);
        return Status::GenericError;
    }

    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cairo = cairo_create(surface);
    const RsvgRectangle viewport{0, 0, static_cast<double>(width), static_cast<double>(height)};
    const bool drawn = library->renderDocument(handle, cairo, &viewport, &error);
    cairo_destroy(cairo);
    cairo_surface_flush(surface);
    g_object_unref(handle);
    if (error)
        g_error_free(error);
    if (!drawn || cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return Status::GenericError;
    }
    bitmap = Bitmap(width, height, PixelFormat::Argb32);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + stride * y);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t premultiplied = row[x];
            const std::uint32_t alpha = premultiplied >> 24;
            const auto straight = [&](int shift) {
                const std::uint32_t value = premultiplied >> shift & 0xFF;
                return alpha ? std::min<std::uint32_t>(255, (value * 255 + alpha / 2) / alpha) : 0;
            };
            bitmap.setPixel(x, y,
                            alpha << 24 | straight(16) << 16 | straight(8) << 8 | straight(0));
        }
    }
    cairo_surface_destroy(surface);
    return Status::Ok;
}

}  // namespace

Status decodeSvg(std::string_view bytes, Bitmap& bitmap) {
    return render(bytes, 0, 0, bitmap);
}

Status decodeSvgAtSize(std::string_view bytes, int width, int height, Bitmap& bitmap) {
    if (width <= 0 || height <= 0)
        return Status::InvalidParameter;
    return render(bytes, width, height, bitmap);
}

}  // namespace platform::imaging::detail
