#include "addon/commands/style_step.h"

#include <algorithm>
#include <array>
#include <cwchar>
#include <cwctype>
#include <optional>

#include "addon/page/text_case.h"

namespace addon {

namespace {

bool endsWith(const std::wstring& text, const std::wstring& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::wstring format(const wchar_t* pattern, double number) {
    wchar_t buffer[64];
    std::swprintf(buffer, 64, pattern, number);
    return buffer;
}

std::wstring formatInteger(long number) {
    wchar_t buffer[32];
    std::swprintf(buffer, 32, L"%ld", number);
    return buffer;
}

// Adds the step to the integer before the unit ("pt", "px" and "%").
std::wstring addToInteger(const std::wstring& number, int step, const std::wstring& unit) {
    const long value = std::wcstol(number.c_str(), nullptr, 10) + step;
    return formatInteger(std::max(0L, value)) + unit;
}

// Scales the decimal before the unit by 1 + f, or divides it by 1 - f for a negative f.
std::wstring scaleDecimal(const std::wstring& number, double f, const std::wstring& unit) {
    double value = std::wcstod(number.c_str(), nullptr);
    value = f > 0 ? value * (1 + f) : value / (1 - f);
    return format(L"%.2f", std::max(0.0, value)) + unit;
}

std::optional<std::wstring> stepAbsolute(const std::wstring& value, int step, double f) {
    for (const wchar_t* unit : {L"cm", L"mm", L"in", L"pt", L"pc", L"px"}) {
        if (!endsWith(value, unit))
            continue;
        const std::wstring number = value.substr(0, value.size() - 2);
        const std::wstring name = unit;
        if (name == L"pt" || name == L"px")
            return addToInteger(number, step, name);
        return scaleDecimal(number, f, name);
    }
    return std::nullopt;
}

std::optional<std::wstring> stepRelative(const std::wstring& value, double f,
                                         std::initializer_list<const wchar_t*> units) {
    for (const wchar_t* unit : units) {
        const std::wstring name = unit;
        if (endsWith(value, name))
            return scaleDecimal(value.substr(0, value.size() - name.size()), f, name);
    }
    return std::nullopt;
}

std::optional<std::wstring> stepKeyword(const std::wstring& value, int step) {
    static const std::array<std::wstring, 7> keywords = {
        L"xx-small", L"x-small", L"small", L"medium", L"large", L"x-large", L"xx-large"};
    const auto found = std::find(keywords.begin(), keywords.end(), value);
    if (found == keywords.end())
        return std::nullopt;
    const long position = std::clamp<long>(found - keywords.begin() + step, 0, keywords.size() - 1);
    return keywords[position];
}

bool isUnset(const std::wstring& value) {
    return value.empty() || value == L"undefined";
}

}  // namespace

std::wstring stepFontSize(const std::wstring& value, int step) {
    if (isUnset(value))
        return {};
    const std::wstring lower = lowerText(value);
    const double f = step / 10.0;
    if (auto stepped = stepAbsolute(lower, step, f))
        return *stepped;
    if (auto stepped = stepRelative(lower, f, {L"em", L"%", L"ex"}))
        return *stepped;
    if (auto stepped = stepKeyword(lower, step))
        return *stepped;
    return value;
}

std::wstring stepLength(const std::wstring& value, int step) {
    if (isUnset(value))
        return {};
    const std::wstring lower = lowerText(value);
    if (endsWith(lower, L"%"))
        return addToInteger(lower.substr(0, lower.size() - 1), step, L"%");
    const double f = step / 100.0;
    if (auto stepped = stepAbsolute(lower, step, f))
        return *stepped;
    if (auto stepped = stepRelative(lower, f, {L"em", L"ex"}))
        return *stepped;
    return value;
}

}  // namespace addon
