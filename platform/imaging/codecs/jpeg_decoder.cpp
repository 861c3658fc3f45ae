// JPEG decoding through libjpeg; errors jump back as jpeg_errors.h describes, so the
// rows are copied into the bitmap only after the decompressor is done.
#include <csetjmp>
#include <vector>

#include "platform/imaging/codecs/codec_formats.h"
#include "platform/imaging/codecs/jpeg_errors.h"

namespace platform::imaging::detail {

namespace {

bool isJpeg(std::string_view bytes) {
    return bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
           static_cast<unsigned char>(bytes[1]) == 0xD8 &&
           static_cast<unsigned char>(bytes[2]) == 0xFF;
}

// Decodes into `rgb` (three bytes per pixel, top row first); false for a damaged file or
// one larger than kMaxDecodedPixels.
bool decompress(std::string_view bytes, std::vector<unsigned char>& rgb, int& width, int& height) {
    jpeg_decompress_struct info;
    JpegErrorManager errors;
    info.err = installJpegErrors(errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    if (static_cast<unsigned long long>(info.image_width) * info.image_height > kMaxDecodedPixels) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    width = static_cast<int>(info.output_width);
    height = static_cast<int>(info.output_height);
    rgb.resize(static_cast<std::size_t>(width) * height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = rgb.data() + static_cast<std::size_t>(info.output_scanline) * width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

Status decodeJpeg(std::string_view bytes, Bitmap& bitmap) {
    if (!isJpeg(bytes))
        return Status::UnknownImageFormat;
    std::vector<unsigned char> rgb;
    int width = 0;
    int height = 0;
    if (!decompress(bytes, rgb, width, height) || width == 0 || height == 0)
        return Status::GenericError;
    Bitmap decoded(width, height, PixelFormat::Rgb24);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* out = decoded.row(y);
        const unsigned char* in = rgb.data() + static_cast<std::size_t>(y) * width * 3;
        for (int x = 0; x < width; ++x) {
            out[x * 3] = in[x * 3 + 2];
            out[x * 3 + 1] = in[x * 3 + 1];
            out[x * 3 + 2] = in[x * 3];
        }
    }
    bitmap = std::move(decoded);
    return Status::Ok;
}

}  // namespace platform::imaging::detail
