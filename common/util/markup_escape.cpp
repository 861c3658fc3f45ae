#include "common/util/markup_escape.h"

namespace common {

std::wstring escapeMarkup(std::wstring_view text, bool apostrophe) {
    std::wstring escaped;
    escaped.reserve(text.size());
    for (const wchar_t c : text) {
        switch (c) {
            case L'&':
                escaped += L"&amp;";
                break;
            case L'<':
                escaped += L"&lt;";
                break;
            case L'>':
                escaped += L"&gt;";
                break;
            case L'"':
                escaped += L"&quot;";
                break;
            case L'\'':
                escaped += apostrophe ? std::wstring_view(L"&#39;") : std::wstring_view(L"'");
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

}  // namespace common
