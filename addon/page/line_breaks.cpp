#include "addon/page/line_breaks.h"

#include <cwctype>

namespace addon {

namespace {

// True when `html` holds the tag `name` (an opening or, with `closing`, a closing tag) at
// `position`, compared without case and ended by ">", "/" or white space.
bool tagAt(const std::wstring& html, std::size_t position, const std::wstring& name, bool closing) {
    std::size_t at = position;
    if (html[at] != L'<')
        return false;
    ++at;
    if (closing) {
        if (at >= html.size() || html[at] != L'/')
            return false;
        ++at;
    }
    for (wchar_t c : name) {
        if (at >= html.size() || static_cast<wchar_t>(std::towlower(html[at])) != c)
            return false;
        ++at;
    }
    return at < html.size() && (html[at] == L'>' || html[at] == L'/' || std::iswspace(html[at]));
}

}  // namespace

std::wstring flattenLineBreaks(const std::wstring& html) {
    std::wstring result;
    result.reserve(html.size());
    int preDepth = 0;
    for (std::size_t i = 0; i < html.size(); ++i) {
        const wchar_t c = html[i];
        if (c == L'\r')
            continue;
        if (c == L'<') {
            if (tagAt(html, i, L"pre", false))
                ++preDepth;
            if (tagAt(html, i, L"pre", true) && preDepth > 0)
                --preDepth;
        }
        result += (c == L'\n' && preDepth == 0) ? L' ' : c;
    }
    return result;
}

}  // namespace addon
