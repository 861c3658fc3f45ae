#include "tarn/engine/xml_text.h"

#include <cstdint>

#include "common/xml/xml_chars.h"

namespace tarn {
namespace {

bool isNameStart(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_' || c == L':' ||
           (static_cast<std::uint32_t>(c) >= 0xC0 && common::isXmlChar(c));
}

}  // namespace

bool isXmlName(std::wstring_view name) {
    if (name.empty() || !isNameStart(name.front())) {
        return false;
    }
    for (wchar_t c : name.substr(1)) {
        if (!isNameStart(c) && !(c >= L'0' && c <= L'9') && c != L'-' && c != L'.' &&
            static_cast<std::uint32_t>(c) != 0xB7) {
            return false;
        }
    }
    return true;
}

}  // namespace tarn
