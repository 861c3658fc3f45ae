// PNG through libpng's simplified interface, which reports errors as results instead of
// jumping out of the caller.
#include <png.h>

#include <cstring>

#include "platform/imaging/codecs/codec_formats.h"

namespace platform::imaging::detail {

namespace {

// Larger pictures are refused before any memory is taken for them.
constexpr png_uint_32 kMaxDecodedSide = 65535;

png_uint_32 pngFormatOf(const Bitmap& bitmap) {
    return bitmap.format() == PixelFormat::Argb32 ? PNG_FORMAT_BGRA : PNG_FORMAT_BGR;
}

}  // namespace

Status encodePng(const Bitmap& bitmap, std::string& bytes) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(bitmap.width());
    image.height = static_cast<png_uint_32>(bitmap.height());
    image.format = pngFormatOf(bitmap);
    const auto stride = static_cast<png_int_32>(bitmap.stride());
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(image, size, 0, bitmap.row(0), stride, nullptr)) {
        png_image_free(&image);
        return Status::GenericError;
    }
    bytes.resize(size);
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, bitmap.row(0), stride,
                                   nullptr)) {
        png_image_free(&image);
        bytes.clear();
        return Status::GenericError;
    }
    bytes.resize(size);
    return Status::Ok;
}

Status decodePng(std::string_view bytes, Bitmap& bitmap) {
    if (bytes.size() < 8 ||
        png_sig_cmp(reinterpret_cast<png_const_bytep>(bytes.data()), 0, 8) != 0) {
        return Status::UnknownImageFormat;
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
        png_image_free(&image);
        return Status::GenericError;
    }
    if (image.width > kMaxDecodedSide || image.height > kMaxDecodedSide ||
        static_cast<unsigned long long>(image.width) * image.height > kMaxDecodedPixels) {
        png_image_free(&image);
        return Status::OutOfMemory;
    }
    const bool alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    Bitmap decoded;
    try {
        decoded = Bitmap(static_cast<int>(image.width), static_cast<int>(image.height),
                         alpha ? PixelFormat::Argb32 : PixelFormat::Rgb24);
    } catch (...) {
        png_image_free(&image);
        throw;
    }
    image.format = pngFormatOf(decoded);
    // A background is needed only when alpha is removed, which never happens here.
    if (!png_image_finish_read(&image, nullptr, decoded.row(0),
                               static_cast<png_int_32>(decoded.stride()), nullptr)) {
        png_image_free(&image);
        return Status::GenericError;
    }
    bitmap = std::move(decoded);
    return Status::Ok;
}

}  // namespace platform::imaging::detail
