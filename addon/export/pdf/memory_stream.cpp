#include "addon/export/pdf/memory_stream.h"

#include <zlib.h>

#include <algorithm>
#include <charconv>
#include <vector>

#include "platform/text/utf.h"

namespace addon::PDFWriter {

MemoryStream::MemoryStream(std::size_t capacity) : capacity_(capacity) {
    bytes_.reserve(capacity_);
}

void MemoryStream::reserveFor(std::size_t extra) {
    const std::size_t needed = bytes_.size() + extra;
    if (needed > capacity_) {
        capacity_ = std::max(needed, capacity_ * 2);
        bytes_.reserve(capacity_);
    }
}

void MemoryStream::write(std::string_view text) {
    writeBytes(text.data(), text.size());
}

void MemoryStream::writeByte(std::uint8_t byte) {
    reserveFor(1);
    bytes_.push_back(static_cast<char>(byte));
}

void MemoryStream::writeInt(long long number) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, number);
    write(std::string_view(text, static_cast<std::size_t>(result.ptr - text)));
}

void MemoryStream::writeReal(double number) {
    char text[400];
    const auto result =
        std::to_chars(text, text + sizeof text, number, std::chars_format::fixed, 6);
    write(std::string_view(text, static_cast<std::size_t>(result.ptr - text)));
}

void MemoryStream::writeHexText(std::wstring_view text) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    write("FEFF");
    for (const char16_t unit : platform::text::toUtf16(text)) {
        const char digits[4] = {kDigits[unit >> 12 & 0xF], kDigits[unit >> 8 & 0xF],
                                kDigits[unit >> 4 & 0xF], kDigits[unit & 0xF]};
        writeBytes(digits, sizeof digits);
    }
}

void MemoryStream::writeBytes(const void* data, std::size_t size) {
    reserveFor(size);
    bytes_.append(static_cast<const char*>(data), size);
}

bool MemoryStream::writeCompressed(const void* data, std::size_t size) {
    uLongf compressedSize = compressBound(static_cast<uLong>(size));
    std::vector<Bytef> compressed(compressedSize);
    if (compress(compressed.data(), &compressedSize, static_cast<const Bytef*>(data),
                 static_cast<uLong>(size)) != Z_OK) {
        return false;
    }
    writeBytes(compressed.data(), compressedSize);
    return true;
}

}  // namespace addon::PDFWriter
