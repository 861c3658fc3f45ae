#include "common/util/text_conversion.h"

#include <cwchar>
#include <limits>

#include "platform/text/code_page.h"
#include "platform/text/utf.h"

namespace common {

int wideToMultiByte(std::wstring_view text, std::string& bytes, unsigned codePage) {
    bytes.clear();
    if (text.empty()) {
        return 0;
    }
    auto encoded = platform::text::encode(text, platform::text::codePageName(codePage));
    if (!encoded) {
        return 0;
    }
    bytes = std::move(*encoded);
    return static_cast<int>(bytes.size());
}

int multiByteToWide(std::string_view bytes, std::wstring& text, unsigned codePage) {
    text.clear();
    if (bytes.empty()) {
        return 0;
    }
    auto decoded = platform::text::decode(bytes, platform::text::codePageName(codePage));
    if (!decoded) {
        return 0;
    }
    text = std::move(*decoded);
    return static_cast<int>(text.size());
}

int ansiLength(std::wstring_view text) {
    return static_cast<int>(platform::text::toUtf8(text).size());
}

std::int32_t toLong(const std::wstring& text) {
    const long long number = std::wcstoll(text.c_str(), nullptr, 10);
    if (number > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (number < std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(number);
}

double toDouble(const std::wstring& text) {
    return std::wcstod(text.c_str(), nullptr);
}

std::wstring intToString(int number) {
    return std::to_wstring(number);
}

}  // namespace common
