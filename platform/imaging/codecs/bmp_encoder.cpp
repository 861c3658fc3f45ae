// Uncompressed BMP: a 14-byte file header, a 40-byte information header and the rows
// bottom-up, each padded to a multiple of four bytes; all numbers little-endian.
#include <cstdint>

#include "platform/imaging/codecs/codec_formats.h"

namespace platform::imaging::detail {

namespace {

constexpr std::uint32_t kHeadersSize = 14 + 40;

void putLittleEndian(std::string& bytes, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) {
        bytes.push_back(static_cast<char>(value >> (8 * i)));
    }
}

}  // namespace

Status encodeBmp(const Bitmap& bitmap, std::string& bytes) {
    const std::uint32_t bitsPerPixel = bitmap.bytesPerPixel() * 8;
    const std::size_t rowBytes = (bitmap.stride() + 3) / 4 * 4;
    const std::size_t imageSize = rowBytes * bitmap.height();
    if (imageSize > 0xFFFFFFFFu - kHeadersSize) {
        return Status::InvalidParameter;
    }
    bytes.reserve(kHeadersSize + imageSize);
    bytes += "BM";
    putLittleEndian(bytes, static_cast<std::uint32_t>(kHeadersSize + imageSize), 4);
    putLittleEndian(bytes, 0, 4);
    putLittleEndian(bytes, kHeadersSize, 4);
    putLittleEndian(bytes, 40, 4);
    putLittleEndian(bytes, static_cast<std::uint32_t>(bitmap.width()), 4);
    putLittleEndian(bytes, static_cast<std::uint32_t>(bitmap.height()), 4);
    putLittleEndian(bytes, 1, 2);
    putLittleEndian(bytes, bitsPerPixel, 2);
    putLittleEndian(bytes, 0, 4);  // no compression
    putLittleEndian(bytes, static_cast<std::uint32_t>(imageSize), 4);
    putLittleEndian(bytes, 3780, 4);  // 96 dots per inch, in dots per metre
    putLittleEndian(bytes, 3780, 4);
    putLittleEndian(bytes, 0, 4);
    putLittleEndian(bytes, 0, 4);
    const std::string padding(rowBytes - bitmap.stride(), '\0');
    for (int y = bitmap.height() - 1; y >= 0; --y) {
        bytes.append(reinterpret_cast<const char*>(bitmap.row(y)), bitmap.stride());
        bytes += padding;
    }
    return Status::Ok;
}

}  // namespace platform::imaging::detail
