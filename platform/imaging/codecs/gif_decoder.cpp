// GIF decoding through giflib: the first frame, its transparent colour as alpha 0.
#include <gif_lib.h>

#include <cstring>

#include "platform/imaging/codecs/codec_formats.h"

namespace platform::imaging::detail {

namespace {

struct Reader {
    std::string_view bytes;
    std::size_t offset = 0;
};

int readFromMemory(GifFileType* file, GifByteType* buffer, int length) {
    auto* reader = static_cast<Reader*>(file->UserData);
    const std::size_t count =
        std::min(static_cast<std::size_t>(length), reader->bytes.size() - reader->offset);
    std::memcpy(buffer, reader->bytes.data() + reader->offset, count);
    reader->offset += count;
    return static_cast<int>(count);
}

int transparentIndex(const SavedImage& frame) {
    for (int i = 0; i < frame.ExtensionBlockCount; ++i) {
        const ExtensionBlock& block = frame.ExtensionBlocks[i];
        if (block.Function == GRAPHICS_EXT_FUNC_CODE && block.ByteCount >= 4 &&
            (block.Bytes[0] & 1))
            return block.Bytes[3];
    }
    return -1;
}

Status fill(const GifFileType& file, Bitmap& bitmap) {
    if (file.ImageCount < 1 || file.SWidth <= 0 || file.SHeight <= 0 ||
        static_cast<unsigned long long>(file.SWidth) * file.SHeight > kMaxDecodedPixels)
        return Status::GenericError;
    const SavedImage& frame = file.SavedImages[0];
    const ColorMapObject* colours =
        frame.ImageDesc.ColorMap ? frame.ImageDesc.ColorMap : file.SColorMap;
    if (!colours || !frame.RasterBits)
        return Status::GenericError;
    const int transparent = transparentIndex(frame);
    Bitmap decoded(file.SWidth, file.SHeight, PixelFormat::Argb32);
    decoded.fill(0);
    const GifImageDesc& area = frame.ImageDesc;
    for (int y = 0; y < area.Height; ++y)
        for (int x = 0; x < area.Width; ++x) {
            const int index = frame.RasterBits[static_cast<std::size_t>(y) * area.Width + x];
            const int px = area.Left + x;
            const int py = area.Top + y;
            if (index == transparent || index >= colours->ColorCount || px >= file.SWidth ||
                py >= file.SHeight || px < 0 || py < 0)
                continue;
            const GifColorType c = colours->Colors[index];
            decoded.setPixel(px, py,
                             0xFF000000u | (std::uint32_t{c.Red} << 16) |
                                 (std::uint32_t{c.Green} << 8) | c.Blue);
        }
    bitmap = std::move(decoded);
    return Status::Ok;
}

}  // namespace

Status decodeGif(std::string_view bytes, Bitmap& bitmap) {
    if (bytes.size() < 6 || (bytes.substr(0, 6) != "GIF87a" && bytes.substr(0, 6) != "GIF89a"))
        return Status::UnknownImageFormat;
    Reader reader{bytes};
    int error = 0;
    GifFileType* file = DGifOpen(&reader, readFromMemory, &error);
    if (!file)
        return Status::GenericError;
    Status status = Status::GenericError;
    try {
        if (DGifSlurp(file) == GIF_OK)
            status = fill(*file, bitmap);
    } catch (...) {
        DGifCloseFile(file, &error);
        throw;
    }
    DGifCloseFile(file, &error);
    return status;
}

}  // namespace platform::imaging::detail
