// Baseline JPEG through libjpeg; errors jump back as jpeg_errors.h describes.
#include <csetjmp>
#include <cstdlib>

#include "platform/imaging/codecs/codec_formats.h"
#include "platform/imaging/codecs/jpeg_errors.h"

namespace platform::imaging::detail {

namespace {

constexpr int kQuality = 75;

// Encodes into a buffer that libjpeg allocates with malloc; false on any libjpeg error.
bool compressToMemory(const Bitmap& bitmap, unsigned char** output, unsigned long* size) {
    jpeg_compress_struct info;
    JpegErrorManager errors;
    info.err = installJpegErrors(errors);
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, output, size);
    info.image_width = static_cast<JDIMENSION>(bitmap.width());
    info.image_height = static_cast<JDIMENSION>(bitmap.height());
    const bool alpha = bitmap.format() == PixelFormat::Argb32;
    info.input_components = alpha ? 4 : 3;
    info.in_color_space = alpha ? JCS_EXT_BGRA : JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, kQuality, TRUE);
    info.write_JFIF_header = TRUE;
    info.JFIF_major_version = 1;
    info.JFIF_minor_version = 1;
    info.density_unit = 0;
    info.X_density = 1;
    info.Y_density = 1;
    for (int component = 0; component < info.num_components; ++component) {
        info.comp_info[component].h_samp_factor = 1;
        info.comp_info[component].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(bitmap.row(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

Status encodeJpeg(const Bitmap& bitmap, std::string& bytes) {
    unsigned char* output = nullptr;
    unsigned long size = 0;
    const bool encoded = compressToMemory(bitmap, &output, &size);
    if (encoded) {
        try {
            bytes.assign(reinterpret_cast<const char*>(output), size);
        } catch (...) {
            std::free(output);
            throw;
        }
    }
    std::free(output);
    return encoded ? Status::Ok : Status::GenericError;
}

}  // namespace platform::imaging::detail
