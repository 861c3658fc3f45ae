#include "platform/com/guid.h"

#include <sys/random.h>

#include <cstdio>
#include <random>

namespace platform::com {

std::string formatGuid(const GUID& g) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1,
                  g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4],
                  g.Data4[5], g.Data4[6], g.Data4[7]);
    return text;
}

std::wstring formatGuidWide(const GUID& guid) {
    const std::string narrow = formatGuid(guid);
    return std::wstring(narrow.begin(), narrow.end());
}

GUID newGuid() {
    std::array<std::uint8_t, 16> bytes{};
    size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = getrandom(bytes.data() + filled, bytes.size() - filled, 0);
        if (got <= 0)
            break;
        filled += static_cast<size_t>(got);
    }
    if (filled < bytes.size()) {
        std::random_device device;
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(device());
    }
    bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);  // version 4
    bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
    GUID guid;
    guid.Data1 = (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
                 (std::uint32_t{bytes[2]} << 8) | bytes[3];
    guid.Data2 = static_cast<std::uint16_t>((bytes[4] << 8) | bytes[5]);
    guid.Data3 = static_cast<std::uint16_t>((bytes[6] << 8) | bytes[7]);
    std::copy(bytes.begin() + 8, bytes.end(), guid.Data4.begin());
    return guid;
}

}  // namespace platform::com
