// The byte layouts and field values of ZIP archives as this writer produces them: local
// headers, data descriptors, central-directory headers and the end record, all integers
// little-endian. Pure functions, thread-safe, no failures.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace plugin::zip {

inline constexpr std::uint16_t kMethodStored = 0;
inline constexpr std::uint16_t kMethodDeflated = 8;

inline constexpr std::uint16_t kFlagDataDescriptor = 0x0008;
inline constexpr std::uint16_t kFlagMaximumCompression = 0x0002;
inline constexpr std::uint16_t kFlagUtf8Name = 0x0800;

inline constexpr std::size_t kLocalHeaderSize = 30;
inline constexpr std::size_t kLocalExtraSize = 17;
inline constexpr std::size_t kCentralExtraSize = 9;
inline constexpr std::size_t kMaxNameBytes = 260;

// What the central directory keeps of one entry.
struct EntryRecord {
    std::uint16_t flags = kFlagDataDescriptor;
    std::uint16_t method = kMethodDeflated;
    std::uint16_t dosTime = 0;
    std::uint16_t dosDate = 0;
    std::uint32_t crc = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t uncompressedSize = 0;
    std::uint32_t externalAttributes = 0;
    std::uint32_t localHeaderOffset = 0;
    std::uint32_t unixTime = 0;  // the times of the extended-timestamp extra fields
    bool hasLocalExtra = true;   // false for an entry that must carry no extra field
    std::string name;            // UTF-8, "/" between folders
};

// DOS date ((year - 1980) << 9 | month << 5 | day) and time (hour << 11 | minute << 5 |
// second / 2) of a broken-down time.
std::uint16_t dosDate(const std::tm& time);
std::uint16_t dosTime(const std::tm& time);

// The name's extension (from its last ".") names an archive that deflating cannot shrink.
bool isCompressedExtension(std::string_view name);
// 0x81C00000 for a name without extension after its last "/", else 0x81800000.
std::uint32_t externalAttributesFor(std::string_view name);

std::string localHeader(const EntryRecord& entry);
std::string dataDescriptor(const EntryRecord& entry);
std::string centralHeader(const EntryRecord& entry);
std::string endRecord(std::uint16_t entryCount, std::uint32_t directorySize,
                      std::uint32_t directoryOffset);

}  // namespace plugin::zip
