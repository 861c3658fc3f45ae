#include "addon/commands/style_arguments.h"

#include <algorithm>
#include <array>
#include <cwctype>
#include <optional>
#include <string_view>

#include "addon/page/text_case.h"

namespace addon {

namespace {

constexpr std::size_t kMaxFamilyListLength = 256;
constexpr std::size_t kShownLength = 60;

// Font sizes a reader can still use, in CSS pixels (em and % taken at 16 pixels).
constexpr double kMinFontPixels = 4;
constexpr double kMaxFontPixels = 400;
constexpr double kMinWidthPixels = 10;
constexpr double kMaxWidthPixels = 20000;
constexpr double kMinWidthPercent = 1;
constexpr double kMaxWidthPercent = 400;
constexpr long kMaxFontSizeStep = 50;
constexpr long kMaxFontWeightStep = 900;
constexpr long kMaxWidthStep = 1000;

bool isControlOrBidi(wchar_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0x200B && c <= 0x200F) ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2060 && c <= 0x2069) || c == 0xFEFF;
}

bool isAsciiDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

bool isAsciiLetter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

bool isFamilyNameCharacter(wchar_t c) {
    if (c > 0x7F)
        return !isControlOrBidi(c);
    return isAsciiLetter(c) || isAsciiDigit(c) || c == L' ' || c == L'-' || c == L'_' || c == L'.';
}

std::wstring_view trimmed(std::wstring_view text) {
    while (!text.empty() && text.front() == L' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == L' ')
        text.remove_suffix(1);
    return text;
}

bool isFamilyName(std::wstring_view family) {
    family = trimmed(family);
    if (family.size() >= 2 && (family.front() == L'"' || family.front() == L'\'')) {
        if (family.back() != family.front())
            return false;
        family = family.substr(1, family.size() - 2);
    }
    return !trimmed(family).empty() &&
           std::all_of(family.begin(), family.end(), isFamilyNameCharacter);
}

bool isFamilyList(const std::wstring& argument) {
    if (argument.empty() || argument.size() > kMaxFamilyListLength)
        return false;
    std::wstring_view rest = argument;
    while (true) {
        const std::size_t comma = rest.find(L',');
        if (!isFamilyName(rest.substr(0, comma)))
            return false;
        if (comma == std::wstring_view::npos)
            return true;
        rest.remove_prefix(comma + 1);
    }
}

// "+12" or "-3": a step of at most four digits; nothing else.
std::optional<long> stepOf(const std::wstring& argument) {
    if (argument.size() < 2 || argument.size() > 5 ||
        (argument.front() != L'+' && argument.front() != L'-') ||
        !std::all_of(argument.begin() + 1, argument.end(), isAsciiDigit))
        return std::nullopt;
    const long number = std::stol(argument.substr(1));
    return argument.front() == L'-' ? -number : number;
}

struct Length {
    double number;
    std::wstring unit;  // lower case; "" for a bare number
};

// A decimal number (at most six digits before the point and four after it) followed by
// letters or "%".
std::optional<Length> lengthOf(const std::wstring& argument) {
    std::size_t at = 0;
    while (at < argument.size() && isAsciiDigit(argument[at]))
        ++at;
    const std::size_t whole = at;
    if (whole == 0 || whole > 6)
        return std::nullopt;
    if (at < argument.size() && argument[at] == L'.') {
        const std::size_t point = ++at;
        while (at < argument.size() && isAsciiDigit(argument[at]))
            ++at;
        if (at == point || at - point > 4)
            return std::nullopt;
    }
    const std::wstring unit = lowerText(argument.substr(at));
    if (!std::all_of(unit.begin(), unit.end(), [](wchar_t c) { return isAsciiLetter(c); }) &&
        unit != L"%")
        return std::nullopt;
    return Length{std::stod(argument.substr(0, at)), unit};
}

// CSS pixels of a length, em and % taken at the usual 16-pixel font; nothing for a unit
// that is no length.
std::optional<double> pixelsOf(const Length& length) {
    static constexpr std::array<std::pair<std::wstring_view, double>, 10> kPixelsPerUnit = {{
        {L"px", 1},
        {L"pt", 96.0 / 72},
        {L"pc", 16},
        {L"in", 96},
        {L"cm", 96 / 2.54},
        {L"mm", 9.6 / 2.54},
        {L"em", 16},
        {L"rem", 16},
        {L"ex", 8},
        {L"%", 0.16},
    }};
    for (const auto& [unit, pixels] : kPixelsPerUnit)
        if (length.unit == unit)
            return length.number * pixels;
    return std::nullopt;
}

bool within(std::optional<long> step, long bound) {
    return step && *step >= -bound && *step <= bound;
}

bool isFontSize(const std::wstring& argument) {
    if (argument.starts_with(L'+') || argument.starts_with(L'-'))
        return within(stepOf(argument), kMaxFontSizeStep);
    static constexpr std::array<std::wstring_view, 10> kKeywords = {
        L"xx-small", L"x-small",  L"small",     L"medium",  L"large",
        L"x-large",  L"xx-large", L"xxx-large", L"smaller", L"larger"};
    const std::wstring lower = lowerText(argument);
    if (std::find(kKeywords.begin(), kKeywords.end(), lower) != kKeywords.end())
        return true;
    const auto length = lengthOf(argument);
    const auto pixels = length ? pixelsOf(*length) : std::nullopt;
    return pixels && *pixels >= kMinFontPixels && *pixels <= kMaxFontPixels;
}

bool isFontWeight(const std::wstring& argument) {
    if (argument.starts_with(L'+') || argument.starts_with(L'-'))
        return within(stepOf(argument), kMaxFontWeightStep);
    const std::wstring lower = lowerText(argument);
    if (lower == L"normal" || lower == L"bold" || lower == L"bolder" || lower == L"lighter")
        return true;
    const auto length = lengthOf(argument);
    return length && length->unit.empty() && length->number >= 1 && length->number <= 1000;
}

bool isWidth(const std::wstring& argument) {
    if (argument.starts_with(L'+') || argument.starts_with(L'-'))
        return within(stepOf(argument), kMaxWidthStep);
    if (lowerText(argument) == L"auto")
        return true;
    const auto length = lengthOf(argument);
    if (!length)
        return false;
    if (length->unit == L"%")
        return length->number >= kMinWidthPercent && length->number <= kMaxWidthPercent;
    const auto pixels = pixelsOf(*length);
    return pixels && *pixels >= kMinWidthPixels && *pixels <= kMaxWidthPixels;
}

}  // namespace

std::wstring quotedArgument(const std::wstring& argument) {
    std::wstring shown = argument.substr(0, kShownLength);
    std::replace_if(shown.begin(), shown.end(), isControlOrBidi, L'?');
    return L"\"" + shown + (argument.size() > kShownLength ? L"...\"" : L"\"");
}

std::wstring styleArgumentProblem(StyleArgument kind, const std::wstring& argument) {
    switch (kind) {
        case StyleArgument::fontFamily:
            return isFamilyList(argument)
                       ? L""
                       : quotedArgument(argument) +
                             L" is not a font name: a font is named with letters, digits, "
                             L"blanks, \"-\", \"_\" and \".\", several of them apart by commas.";
        case StyleArgument::fontSize:
            return isFontSize(argument)
                       ? L""
                       : quotedArgument(argument) +
                             L" is not a font size: give a size such as 12pt, 16px, 1.2em or "
                             L"120% (4 to 400 pixels), a keyword such as large, or a step "
                             L"such as +1.";
        case StyleArgument::fontWeight:
            return isFontWeight(argument)
                       ? L""
                       : quotedArgument(argument) +
                             L" is not a font weight: give normal, bold, bolder, lighter, a "
                             L"number from 1 to 1000, or a step such as +100.";
        case StyleArgument::width:
            return isWidth(argument)
                       ? L""
                       : quotedArgument(argument) +
                             L" is not a width: give a width such as 800px, 40em or 100% (10 "
                             L"to 20000 pixels, 1% to 400%), auto, or a step such as +10.";
    }
    return L"";
}

}  // namespace addon
