#include "platform/dom/layout/markup/element_opacity.h"

#include <cstdio>
#include <cwctype>
#include <optional>
#include <vector>

namespace platform::dom {

namespace {

struct Rgb {
    int red, green, blue;
};

std::wstring lowered(std::wstring text) {
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    return text;
}

std::wstring trimmed(const std::wstring& text) {
    const auto first = text.find_first_not_of(L" \t\r\n");
    if (first == std::wstring::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(L" \t\r\n") - first + 1);
}

int hexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    c = static_cast<wchar_t>(std::towlower(c));
    return c >= L'a' && c <= L'f' ? c - L'a' + 10 : -1;
}

std::optional<Rgb> colourOf(const std::wstring& token) {
    const std::wstring word = lowered(token);
    if (word.size() == 4 || word.size() == 7) {
        if (word[0] != L'#') {
            return std::nullopt;
        }
        std::vector<int> digits;
        for (std::size_t i = 1; i < word.size(); ++i) {
            if (hexDigit(word[i]) < 0) {
                return std::nullopt;
            }
            digits.push_back(hexDigit(word[i]));
        }
        if (digits.size() == 3) {
            return Rgb{digits[0] * 17, digits[1] * 17, digits[2] * 17};
        }
        return Rgb{digits[0] * 16 + digits[1], digits[2] * 16 + digits[3],
                   digits[4] * 16 + digits[5]};
    }
    static const std::pair<const wchar_t*, Rgb> named[] = {
        {L"black", {0, 0, 0}},       {L"white", {255, 255, 255}}, {L"red", {255, 0, 0}},
        {L"green", {0, 128, 0}},     {L"blue", {0, 0, 255}},      {L"yellow", {255, 255, 0}},
        {L"gray", {128, 128, 128}},  {L"grey", {128, 128, 128}},  {L"orange", {255, 165, 0}},
        {L"silver", {192, 192, 192}}};
    for (const auto& [name, rgb] : named) {
        if (word == name) {
            return rgb;
        }
    }
    return std::nullopt;
}

// The opacity the declarations ask for, from 0 to 1; none when they ask for none.
std::optional<double> opacityOf(const std::vector<std::pair<std::wstring, std::wstring>>& rules) {
    std::optional<double> opacity;
    for (const auto& [name, value] : rules) {
        const std::wstring text = lowered(value);
        double number = 0;
        if (name == L"filter") {
            const auto at = text.find(L"alpha(opacity=");
            if (at != std::wstring::npos &&
                std::swscanf(text.c_str() + at + 14, L"%lf", &number) == 1) {
                opacity = number / 100;
            }
        } else if (name == L"opacity" && std::swscanf(text.c_str(), L"%lf", &number) == 1) {
            opacity = number;
        }
    }
    if (opacity) {
        opacity = std::min(1.0, std::max(0.0, *opacity));
    }
    return opacity;
}

bool takesColour(const std::wstring& name) {
    return name == L"color" || name == L"background" || name == L"background-color" ||
           name.starts_with(L"border");
}

// The value with each colour word given the alpha.
std::wstring translucent(const std::wstring& value, double alpha) {
    std::wstring out;
    std::size_t start = 0;
    while (start <= value.size()) {
        const auto gap = value.find(L' ', start);
        const std::wstring word =
            value.substr(start, gap == std::wstring::npos ? std::wstring::npos : gap - start);
        if (const auto rgb = colourOf(word)) {
            wchar_t written[64];
            std::swprintf(written, 64, L"rgba(%d,%d,%d,%.3f)", rgb->red, rgb->green, rgb->blue,
                          alpha);
            out += written;
        } else {
            out += word;
        }
        if (gap == std::wstring::npos) {
            break;
        }
        out += L' ';
        start = gap + 1;
    }
    return out;
}

}  // namespace

std::wstring withOpacityFolded(const std::wstring& style) {
    const std::wstring low = lowered(style);
    if (low.find(L"opacity") == std::wstring::npos) {
        return style;
    }
    std::vector<std::pair<std::wstring, std::wstring>> rules;
    std::size_t start = 0;
    while (start < style.size()) {
        const auto end = std::min(style.find(L';', start), style.size());
        const std::wstring declaration = style.substr(start, end - start);
        const auto colon = declaration.find(L':');
        if (colon != std::wstring::npos) {
            rules.emplace_back(lowered(trimmed(declaration.substr(0, colon))),
                               trimmed(declaration.substr(colon + 1)));
        }
        start = end + 1;
    }
    const std::optional<double> opacity = opacityOf(rules);
    if (!opacity || *opacity >= 1) {
        return style;
    }
    std::wstring out;
    for (const auto& [name, value] : rules) {
        out += name + L":" + (takesColour(name) ? translucent(value, *opacity) : value) + L";";
    }
    return out;
}

}  // namespace platform::dom
