#include "addon/page/text_case.h"

#include <cwctype>

namespace addon {

std::wstring lowerText(std::wstring text) {
    for (auto& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

std::wstring trimSpace(const std::wstring& text) {
    constexpr const wchar_t* kSpace = L" \t\r\n\f\v";
    const auto first = text.find_first_not_of(kSpace);
    if (first == std::wstring::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

}  // namespace addon
