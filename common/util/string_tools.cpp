#include "common/util/string_tools.h"

#include <algorithm>
#include <cstdio>

#include "platform/com/guid.h"

namespace common {

bool startsWithText(std::wstring_view text, std::wstring_view prefix) {
    return text.starts_with(prefix);
}

bool endsWithText(std::wstring_view text, std::wstring_view suffix) {
    return text.ends_with(suffix);
}

namespace {

std::size_t findSeparator(std::wstring_view text, std::wstring_view separator, bool last) {
    return last ? text.rfind(separator) : text.find(separator);
}

}  // namespace

std::wstring textBefore(std::wstring_view text, std::wstring_view separator, bool last) {
    const auto position = findSeparator(text, separator, last);
    return position == std::wstring_view::npos ? std::wstring()
                                               : std::wstring(text.substr(0, position));
}

std::wstring textAfter(std::wstring_view text, std::wstring_view separator, bool last) {
    const auto position = findSeparator(text, separator, last);
    return position == std::wstring_view::npos
               ? std::wstring()
               : std::wstring(text.substr(position + separator.size()));
}

std::size_t countNonSpace(std::wstring_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](wchar_t c) {
        return c != L' ' && c != L'\r' && c != L'\n' && c != L'\t';
    }));
}

void stripEach(std::vector<std::wstring>& items, std::wstring_view prefix,
               std::wstring_view suffix) {
    const std::size_t cut = prefix.size() + suffix.size();
    for (auto& item : items) {
        item = item.size() <= cut ? std::wstring() : item.substr(prefix.size(), item.size() - cut);
    }
}

std::size_t findCharPair(std::wstring_view text, wchar_t first, wchar_t second) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == first && text[i + 1] == second) {
            return i;
        }
    }
    return std::wstring_view::npos;
}

std::wstring newGuidText() {
    const platform::com::GUID guid = platform::com::newGuid();
    wchar_t text[48];
    std::swprintf(text, std::size(text), L"A%07X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                  guid.Data1, guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2],
                  guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    return text;
}

bool isTrueText(std::wstring_view text) {
    constexpr std::wstring_view kTrue = L"true";
    return text.size() == kTrue.size() &&
           std::equal(text.begin(), text.end(), kTrue.begin(), [](wchar_t a, wchar_t b) {
               return (a >= L'A' && a <= L'Z' ? a + (L'a' - L'A') : a) == b;
           });
}

}  // namespace common
