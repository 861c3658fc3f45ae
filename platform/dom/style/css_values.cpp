#include "platform/dom/style/css_values.h"

#include <algorithm>
#include <cwchar>
#include <string>

#include "platform/dom/style/cascade.h"
#include "platform/dom/tag_names.h"

namespace platform::dom {

int toPixels(std::wstring_view value, int base, int fallback) {
    std::wstring text(value);
    wchar_t* end = nullptr;
    double number = std::wcstod(text.c_str(), &end);
    if (end == text.c_str()) {
        if (equalsIgnoringCase(value, L"thin"))
            return 1;
        if (equalsIgnoringCase(value, L"medium"))
            return 3;
        if (equalsIgnoringCase(value, L"thick"))
            return 5;
        return fallback;
    }
    std::wstring unit = asciiLower(std::wstring_view(end));
    double pixels = unit == L"px" || (unit.empty() && number == 0) ? number
                    : unit == L"pt"                                ? number * 4 / 3
                    : unit == L"em"                                ? number * kPixelsPerEm
                    : unit == L"ex"                                ? number * kPixelsPerEm / 2
                    : unit == L"%"                                 ? number * base / 100
                    : unit == L"in"                                ? number * 96
                    : unit == L"cm"                                ? number * 96 / 2.54
                    : unit == L"mm"                                ? number * 96 / 25.4
                                                                   : fallback;
    return static_cast<int>(pixels);
}

int borderPixels(const ComputedStyle& style, BoxSide side) {
    using P = PropertyId;
    static constexpr P kStyles[] = {P::BorderTopStyle, P::BorderRightStyle, P::BorderBottomStyle,
                                    P::BorderLeftStyle};
    static constexpr P kWidths[] = {P::BorderTopWidth, P::BorderRightWidth, P::BorderBottomWidth,
                                    P::BorderLeftWidth};
    auto index = static_cast<std::size_t>(side);
    std::wstring kind = style.value(kStyles[index]);
    if (equalsIgnoringCase(kind, L"none") || equalsIgnoringCase(kind, L"hidden"))
        return 0;
    return std::max(0, toPixels(style.value(kWidths[index]), 0, 3));
}

}  // namespace platform::dom
