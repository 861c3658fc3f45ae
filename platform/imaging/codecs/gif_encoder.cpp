// GIF89a through giflib: one image with a global colour table of 256 entries. Pictures
// of at most 256 colours keep them exactly; others are dithered (gif_dither.h).
#include <gif_lib.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <vector>

#include "platform/imaging/codecs/codec_formats.h"
#include "platform/imaging/codecs/gif_dither.h"

namespace platform::imaging::detail {

namespace {

constexpr int kPaletteSize = 256;

using Indexed = IndexedPicture;

// The exact palette and indices, or false when the picture has more than 256 colours.
bool indexExactly(const Bitmap& bitmap, Indexed& out) {
    std::map<std::uint32_t, GifByteType> indexOf;
    out.pixels.reserve(static_cast<std::size_t>(bitmap.width()) * bitmap.height());
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            const std::uint32_t rgb = bitmap.pixel(x, y) & 0xFFFFFF;
            auto found = indexOf.find(rgb);
            if (found == indexOf.end()) {
                if (indexOf.size() == kPaletteSize) {
                    return false;
                }
                found = indexOf.emplace(rgb, static_cast<GifByteType>(indexOf.size())).first;
                out.palette.push_back({static_cast<GifByteType>(rgb >> 16),
                                       static_cast<GifByteType>(rgb >> 8),
                                       static_cast<GifByteType>(rgb)});
            }
            out.pixels.push_back(found->second);
        }
    }
    return true;
}

int appendOutput(GifFileType* file, const GifByteType* data, int length) {
    static_cast<std::string*>(file->UserData)
        ->append(reinterpret_cast<const char*>(data), static_cast<std::size_t>(length));
    return length;
}

bool writeGif(const Bitmap& bitmap, Indexed& indexed, std::string& bytes) {
    indexed.palette.resize(kPaletteSize, GifColorType{0, 0, 0});
    int error = 0;
    GifFileType* file = EGifOpen(&bytes, appendOutput, &error);
    if (file == nullptr) {
        return false;
    }
    ColorMapObject* colours = GifMakeMapObject(kPaletteSize, indexed.palette.data());
    bool written = colours != nullptr;
    if (written) {
        EGifSetGifVersion(file, true);
        written =
            EGifPutScreenDesc(file, bitmap.width(), bitmap.height(), 8, 0, colours) == GIF_OK &&
            EGifPutImageDesc(file, 0, 0, bitmap.width(), bitmap.height(), false, nullptr) == GIF_OK;
        for (int y = 0; written && y < bitmap.height(); ++y) {
            GifByteType* line =
                indexed.pixels.data() + static_cast<std::size_t>(y) * bitmap.width();
            written = EGifPutLine(file, line, bitmap.width()) == GIF_OK;
        }
        GifFreeMapObject(colours);
    }
    return EGifCloseFile(file, &error) == GIF_OK && written;
}

}  // namespace

Status encodeGif(const Bitmap& bitmap, std::string& bytes) {
    if (bitmap.width() > 0xFFFF || bitmap.height() > 0xFFFF) {
        return Status::InvalidParameter;
    }
    Indexed indexed;
    if (!indexExactly(bitmap, indexed)) {
        indexed = Indexed();
        if (!quantizeDithered(bitmap, indexed)) {
            return Status::GenericError;
        }
    }
    if (!writeGif(bitmap, indexed, bytes)) {
        bytes.clear();
        return Status::GenericError;
    }
    return Status::Ok;
}

}  // namespace platform::imaging::detail
