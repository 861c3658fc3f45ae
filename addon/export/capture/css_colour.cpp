#include "addon/export/capture/css_colour.h"

#include <algorithm>
#include <cwctype>
#include <string>

namespace addon {

namespace {

struct NamedColour {
    std::wstring_view name;
    std::uint32_t rgb;
};

constexpr NamedColour kNamedColours[] = {
    {L"black", 0x000000},     {L"silver", 0xC0C0C0},      {L"gray", 0x808080},
    {L"grey", 0x808080},      {L"white", 0xFFFFFF},       {L"maroon", 0x800000},
    {L"red", 0xFF0000},       {L"purple", 0x800080},      {L"fuchsia", 0xFF00FF},
    {L"magenta", 0xFF00FF},   {L"green", 0x008000},       {L"lime", 0x00FF00},
    {L"olive", 0x808000},     {L"yellow", 0xFFFF00},      {L"navy", 0x000080},
    {L"blue", 0x0000FF},      {L"teal", 0x008080},        {L"aqua", 0x00FFFF},
    {L"cyan", 0x00FFFF},      {L"orange", 0xFFA500},      {L"brown", 0xA52A2A},
    {L"pink", 0xFFC0CB},      {L"gold", 0xFFD700},        {L"beige", 0xF5F5DC},
    {L"ivory", 0xFFFFF0},     {L"khaki", 0xF0E68C},       {L"lightgray", 0xD3D3D3},
    {L"lightgrey", 0xD3D3D3}, {L"darkgray", 0xA9A9A9},    {L"darkgrey", 0xA9A9A9},
    {L"dimgray", 0x696969},   {L"whitesmoke", 0xF5F5F5},  {L"gainsboro", 0xDCDCDC},
    {L"darkblue", 0x00008B},  {L"darkred", 0x8B0000},     {L"darkgreen", 0x006400},
    {L"lightblue", 0xADD8E6}, {L"lightyellow", 0xFFFFE0}, {L"lightgreen", 0x90EE90},
    {L"steelblue", 0x4682B4}, {L"skyblue", 0x87CEEB},     {L"indigo", 0x4B0082},
    {L"violet", 0xEE82EE},    {L"tomato", 0xFF6347},      {L"coral", 0xFF7F50},
    {L"salmon", 0xFA8072},    {L"crimson", 0xDC143C},     {L"chocolate", 0xD2691E},
    {L"tan", 0xD2B48C},       {L"wheat", 0xF5DEB3},       {L"linen", 0xFAF0E6},
    {L"lavender", 0xE6E6FA},  {L"snow", 0xFFFAFA},        {L"honeydew", 0xF0FFF0},
    {L"aliceblue", 0xF0F8FF}, {L"slategray", 0x708090},   {L"darkslategray", 0x2F4F4F},
};

constexpr std::uint32_t kOpaque = 0xFF000000;

int hexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    return -1;
}

std::optional<std::uint32_t> parseHex(std::wstring_view digits) {
    if (digits.size() != 3 && digits.size() != 6)
        return std::nullopt;
    std::uint32_t rgb = 0;
    for (wchar_t c : digits) {
        const int digit = hexDigit(c);
        if (digit < 0)
            return std::nullopt;
        rgb = digits.size() == 3 ? (rgb << 8) | static_cast<std::uint32_t>(digit * 17)
                                 : (rgb << 4) | static_cast<std::uint32_t>(digit);
    }
    return kOpaque | rgb;
}

// One channel of rgb(): a whole number 0-255 or a percentage, clamped.
std::optional<std::uint32_t> parseChannel(std::wstring_view text) {
    while (!text.empty() && text.front() == L' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == L' ')
        text.remove_suffix(1);
    const bool percent = !text.empty() && text.back() == L'%';
    if (percent)
        text.remove_suffix(1);
    if (text.empty() || text.size() > 6)
        return std::nullopt;
    double number = 0;
    try {
        std::size_t used = 0;
        number = std::stod(std::wstring(text), &used);
        if (used != text.size())
            return std::nullopt;
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (percent)
        number = number * 255.0 / 100.0;
    return static_cast<std::uint32_t>(std::clamp(number, 0.0, 255.0) + 0.5);
}

std::optional<std::uint32_t> parseRgb(std::wstring_view arguments) {
    std::uint32_t rgb = 0;
    for (int index = 0; index < 3; ++index) {
        const std::size_t comma = arguments.find(L',');
        if ((index < 2) != (comma != std::wstring_view::npos))
            return std::nullopt;
        const auto channel = parseChannel(arguments.substr(0, comma));
        if (!channel)
            return std::nullopt;
        rgb = (rgb << 8) | *channel;
        arguments = index < 2 ? arguments.substr(comma + 1) : std::wstring_view{};
    }
    return kOpaque | rgb;
}

}  // namespace

std::optional<std::uint32_t> parseCssColour(std::wstring_view value) {
    std::wstring text;
    for (wchar_t c : value) {
        if (!std::iswspace(static_cast<wint_t>(c)) || !text.empty())
            text.push_back(static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c))));
    }
    while (!text.empty() && std::iswspace(static_cast<wint_t>(text.back())))
        text.pop_back();
    if (text.empty())
        return std::nullopt;
    if (text.front() == L'#')
        return parseHex(std::wstring_view(text).substr(1));
    if (text.starts_with(L"rgb(") && text.back() == L')')
        return parseRgb(std::wstring_view(text).substr(4, text.size() - 5));
    if (text == L"transparent")
        return 0x00000000u;
    for (const NamedColour& named : kNamedColours) {
        if (named.name == text)
            return kOpaque | named.rgb;
    }
    return std::nullopt;
}

}  // namespace addon
