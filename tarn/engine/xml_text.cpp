#include "tarn/engine/xml_text.h"

#include <cstdint>

#include "common/xml/xml_chars.h"
#include "platform/text/utf.h"

namespace tarn {
namespace {

bool isNameStart(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_' || c == L':' ||
           (static_cast<std::uint32_t>(c) >= 0xC0 && common::isXmlChar(c));
}

}  // namespace

void appendEscaped(std::string_view text, std::string& out) {
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x80) {
            // A run of other characters goes through the wide form, which replaces
            // ill-formed sequences and the characters XML does not allow.
            std::size_t end = i;
            while (end < text.size() && static_cast<unsigned char>(text[end]) >= 0x80) {
                ++end;
            }
            out += platform::text::toUtf8(
                common::xmlCharacterData(platform::text::fromUtf8(text.substr(i, end - i))));
            i = end;
            continue;
        }
        switch (byte) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\t':
                out += "&#9;";
                break;
            case '\n':
                out += "&#10;";
                break;
            case '\r':
                out += "&#13;";
                break;
            default:
                if (byte < 0x20) {
                    out += "\xEF\xBF\xBD";
                } else {
                    out += static_cast<char>(byte);
                }
        }
        ++i;
    }
}

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
