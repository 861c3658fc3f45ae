#include "plugin/util/conversions.h"

#include <cctype>

#include "common/util/markup_escape.h"
#include "platform/text/code_page.h"

namespace plugin {

int wideToBytes(std::wstring_view text, std::string& out, unsigned codePage) {
    out.clear();
    if (text.empty())
        return 0;
    auto bytes = platform::text::encode(text, platform::text::codePageName(codePage));
    if (!bytes)
        return 0;
    out = std::move(*bytes);
    return static_cast<int>(out.size());
}

int bytesToWide(std::string_view bytes, std::wstring& out, unsigned codePage) {
    out.clear();
    if (bytes.empty())
        return 0;
    auto text = platform::text::decode(bytes, platform::text::codePageName(codePage));
    if (!text)
        return 0;
    out = std::move(*text);
    return static_cast<int>(out.size());
}

std::wstring formEncode(std::wstring_view text) {
    constexpr std::size_t kInputLimit = 1024;
    constexpr std::size_t kOutputLimit = 1023;
    std::string bytes;
    wideToBytes(text, bytes, platform::text::kUtf8CodePage);
    if (bytes.size() > kInputLimit)
        return {};
    static const char* const hex = "0123456789abcdef";
    std::wstring encoded;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || byte == ' ') {
            if (encoded.size() + 1 > kOutputLimit)
                break;
            encoded += byte == ' ' ? L'+' : static_cast<wchar_t>(byte);
        } else {
            if (encoded.size() + 3 > kOutputLimit)
                break;
            encoded += L'%';
            encoded += static_cast<wchar_t>(hex[byte >> 4]);
            encoded += static_cast<wchar_t>(hex[byte & 0xF]);
        }
    }
    return encoded;
}

std::wstring xmlEscape(std::wstring_view text) {
    return common::escapeMarkup(text);
}

std::wstring toText(int value) {
    return std::to_wstring(value);
}

}  // namespace plugin
