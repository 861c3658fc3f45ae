// PDFWriter::MemoryStream: the growable byte buffer the PDF writer builds its file in,
// with the writers for the number and text forms that PDF syntax uses.
//
// Contract: a value type; one thread at a time. Numbers are written in the "C" notation
// whatever the process locale is. Nothing throws but std::bad_alloc.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace addon::PDFWriter {

class MemoryStream {
  public:
    explicit MemoryStream(std::size_t capacity);

    void write(std::string_view text);
    void writeByte(std::uint8_t byte);
    // Decimal, as "%d".
    void writeInt(long long number);
    // Six decimals, as "%f".
    void writeReal(double number);
    // "FEFF" and four upper-case hexadecimal digits per UTF-16 unit: the hexadecimal form
    // of a UTF-16BE text with byte-order mark, for the caller to put between "<" and ">".
    void writeHexText(std::wstring_view text);
    void writeBytes(const void* data, std::size_t size);
    // The bytes compressed with zlib; false, and nothing written, when compression fails.
    bool writeCompressed(const void* data, std::size_t size);

    std::size_t size() const { return bytes_.size(); }
    std::size_t capacity() const { return capacity_; }
    const std::string& bytes() const { return bytes_; }

  private:
    // Grows to the larger of the needed size and twice the capacity.
    void reserveFor(std::size_t extra);

    std::string bytes_;
    std::size_t capacity_;
};

}  // namespace addon::PDFWriter
