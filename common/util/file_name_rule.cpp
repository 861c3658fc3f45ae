#include "common/util/file_name_rule.h"

#include <cstdint>

namespace common {

namespace {

bool isReserved(wchar_t c) {
    const auto code = static_cast<std::uint32_t>(c);
    return std::wstring_view(L"*?<>|:\"/\\").find(c) != std::wstring_view::npos || code < 0x20 ||
           (code >= 0x7F && code <= 0x9F);
}

bool isDropped(wchar_t c) {
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069) || (c >= 0xD800 && c <= 0xDFFF);
}

std::size_t utf8Length(wchar_t c) {
    const auto code = static_cast<std::uint32_t>(c);
    return code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
}

bool isTrimmed(wchar_t c) {
    return c == L' ' || c == L'.';
}

}  // namespace

std::wstring fileNameFromTitle(std::wstring_view title, std::wstring_view fallback) {
    std::wstring name;
    std::size_t bytes = 0;
    for (wchar_t c : title) {
        if (isDropped(c) || (name.empty() && (isReserved(c) || isTrimmed(c))))
            continue;
        const std::size_t length = utf8Length(c);
        if (bytes + length > kMaxFileTitleBytes)
            break;
        name += isReserved(c) ? L' ' : c;
        bytes += length;
    }
    while (!name.empty() && isTrimmed(name.back()))
        name.pop_back();
    return name.empty() ? std::wstring(fallback) : name;
}

}  // namespace common
