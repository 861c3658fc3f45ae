#include "plugin/zip/zip_format.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace plugin::zip {

namespace {

constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::uint32_t kDescriptorSignature = 0x08074b50;
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint16_t kVersionNeeded = 20;
constexpr std::uint16_t kVersionMadeBy = 0x0B17;
constexpr std::uint16_t kTimestampTag = 0x5455;  // "UT"

void put16(std::string& out, std::uint16_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8));
}

void put32(std::string& out, std::uint32_t value) {
    put16(out, static_cast<std::uint16_t>(value & 0xFFFF));
    put16(out, static_cast<std::uint16_t>(value >> 16));
}

// Method, time, date, CRC and both sizes: the run that local and central headers share.
void putEntryFields(std::string& out, const EntryRecord& entry) {
    put16(out, entry.flags);
    put16(out, entry.method);
    put16(out, entry.dosTime);
    put16(out, entry.dosDate);
    put32(out, entry.crc);
    put32(out, entry.compressedSize);
    put32(out, entry.uncompressedSize);
    put16(out, static_cast<std::uint16_t>(entry.name.size()));
}

}  // namespace

std::uint16_t dosDate(const std::tm& time) {
    const int year = std::max(time.tm_year + 1900, 1980);
    return static_cast<std::uint16_t>(((year - 1980) << 9) | ((time.tm_mon + 1) << 5) |
                                      time.tm_mday);
}

std::uint16_t dosTime(const std::tm& time) {
    return static_cast<std::uint16_t>((time.tm_hour << 11) | (time.tm_min << 5) |
                                      (time.tm_sec / 2));
}

bool isCompressedExtension(std::string_view name) {
    static constexpr std::array<std::string_view, 8> kExtensions = {".z",   ".zip", ".zoo", ".arc",
                                                                    ".lzh", ".arj", ".gz",  ".tgz"};
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    std::string extension(name.substr(dot));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return std::find(kExtensions.begin(), kExtensions.end(), extension) != kExtensions.end();
}

std::uint32_t externalAttributesFor(std::string_view name) {
    const auto slash = name.find_last_of("/\\");
    const auto base = slash == std::string_view::npos ? name : name.substr(slash + 1);
    return base.find('.') == std::string_view::npos ? 0x81C00000u : 0x81800000u;
}

std::string localHeader(const EntryRecord& entry) {
    std::string out;
    put32(out, kLocalSignature);
    put16(out, kVersionNeeded);
    putEntryFields(out, entry);
    put16(out, entry.hasLocalExtra ? kLocalExtraSize : 0);
    out += entry.name;
    if (entry.hasLocalExtra) {
        put16(out, kTimestampTag);
        put16(out, 13);
        out.push_back(7);  // modification, access and creation time follow
        put32(out, entry.unixTime);
        put32(out, entry.unixTime);
        put32(out, entry.unixTime);
    }
    return out;
}

std::string dataDescriptor(const EntryRecord& entry) {
    std::string out;
    put32(out, kDescriptorSignature);
    put32(out, entry.crc);
    put32(out, entry.compressedSize);
    put32(out, entry.uncompressedSize);
    return out;
}

std::string centralHeader(const EntryRecord& entry) {
    std::string out;
    put32(out, kCentralSignature);
    put16(out, kVersionMadeBy);
    put16(out, kVersionNeeded);
    putEntryFields(out, entry);
    put16(out, kCentralExtraSize);
    put16(out, 0);  // comment length
    put16(out, 0);  // disk number start
    put16(out, 0);  // internal attributes
    put32(out, entry.externalAttributes);
    put32(out, entry.localHeaderOffset);
    out += entry.name;
    put16(out, kTimestampTag);
    put16(out, 5);
    out.push_back(1);  // modification time follows
    put32(out, entry.unixTime);
    return out;
}

std::string endRecord(std::uint16_t entryCount, std::uint32_t directorySize,
                      std::uint32_t directoryOffset) {
    std::string out;
    put32(out, kEndSignature);
    put16(out, 0);  // this disk
    put16(out, 0);  // disk of the central directory
    put16(out, entryCount);
    put16(out, entryCount);
    put32(out, directorySize);
    put32(out, directoryOffset);
    put16(out, 0);  // comment length
    return out;
}

}  // namespace plugin::zip
