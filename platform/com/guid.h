// 128-bit identifiers for classes and interfaces: parse, format, compare, and new random
// ones. Values only; thread-safe.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/text/hex_digit.h"

namespace platform::com {

struct GUID {
    std::uint32_t Data1 = 0;
    std::uint16_t Data2 = 0;
    std::uint16_t Data3 = 0;
    std::array<std::uint8_t, 8> Data4{};

    friend constexpr bool operator==(const GUID&, const GUID&) = default;
    friend constexpr auto operator<=>(const GUID&, const GUID&) = default;
    constexpr bool isNull() const { return *this == GUID{}; }
};

namespace detail {
constexpr std::optional<std::uint64_t> hexField(std::string_view text) {
    std::uint64_t value = 0;
    for (char c : text) {
        const int digit = platform::text::hexDigitValue(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint64_t>(digit);
    }
    return value;
}
}  // namespace detail

// Parses "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx", with or without surrounding braces.
constexpr std::optional<GUID> parseGuid(std::string_view text) {
    if (text.size() == 38 && text.front() == '{' && text.back() == '}')
        text = text.substr(1, 36);
    if (text.size() != 36 || text[8] != '-' || text[13] != '-' || text[18] != '-' ||
        text[23] != '-')
        return std::nullopt;
    const auto d1 = detail::hexField(text.substr(0, 8));
    const auto d2 = detail::hexField(text.substr(9, 4));
    const auto d3 = detail::hexField(text.substr(14, 4));
    if (!d1 || !d2 || !d3)
        return std::nullopt;
    GUID guid{static_cast<std::uint32_t>(*d1),
              static_cast<std::uint16_t>(*d2),
              static_cast<std::uint16_t>(*d3),
              {}};
    constexpr int offsets[8] = {19, 21, 24, 26, 28, 30, 32, 34};
    for (int i = 0; i < 8; ++i) {
        const auto byte = detail::hexField(text.substr(offsets[i], 2));
        if (!byte)
            return std::nullopt;
        guid.Data4[i] = static_cast<std::uint8_t>(*byte);
    }
    return guid;
}

// A GUID from a literal known at compile time; a malformed literal fails to compile.
consteval GUID guidLiteral(std::string_view text) {
    const auto guid = parseGuid(text);
    if (!guid)
        throw "malformed GUID literal";
    return *guid;
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case.
std::string formatGuid(const GUID& guid);
std::wstring formatGuidWide(const GUID& guid);

// A new random (version 4) GUID from the system's random source.
GUID newGuid();

}  // namespace platform::com
