#include "common/xml/http_text_checks.h"

namespace common {

namespace {

bool isTokenCharacter(wchar_t c) {
    if ((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9'))
        return true;
    return std::wstring_view(L"!#$%&'*+-.^_`|~").find(c) != std::wstring_view::npos;
}

}  // namespace

bool isHttpToken(std::wstring_view text) {
    if (text.empty())
        return false;
    for (wchar_t c : text)
        if (!isTokenCharacter(c))
            return false;
    return true;
}

bool isHttpFieldValue(std::wstring_view text) {
    for (wchar_t c : text)
        if ((c < 0x20 && c != L'\t') || c == 0x7F)
            return false;
    return true;
}

std::wstring redactUrlCredentials(std::wstring text) {
    constexpr std::wstring_view kMask = L"***";
    for (std::size_t scheme = text.find(L"://"); scheme != std::wstring::npos;
         scheme = text.find(L"://", scheme + 3)) {
        const std::size_t start = scheme + 3;
        const std::size_t end = text.find_first_of(L"/?#\\ \t\r\n\"'<>", start);
        const std::size_t at =
            text.rfind(L'@', end == std::wstring::npos ? std::wstring::npos : end - 1);
        if (at == std::wstring::npos || at < start)
            continue;
        text.replace(start, at - start, kMask);
    }
    return text;
}

}  // namespace common
