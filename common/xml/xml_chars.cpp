#include "common/xml/xml_chars.h"

#include <cstdint>

namespace common {
namespace {

// xmlCharacterData of `text` with a blank after each character at which `endsEarly`
// says the markup would end or break.
template <typename EndsEarly>
std::wstring withBlanks(std::wstring_view text, EndsEarly endsEarly) {
    const std::wstring clean = xmlCharacterData(text);
    std::wstring out;
    out.reserve(clean.size());
    for (std::size_t i = 0; i < clean.size(); ++i) {
        out += clean[i];
        if (endsEarly(clean, i))
            out += L' ';
    }
    return out;
}

}  // namespace

bool isXmlChar(wchar_t c) {
    const auto code = static_cast<std::uint32_t>(c);
    return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
           (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
}

std::wstring xmlCharacterData(std::wstring_view text) {
    std::wstring out(text);
    for (wchar_t& c : out)
        if (!isXmlChar(c))
            c = L'\xFFFD';
    return out;
}

std::wstring xmlCommentData(std::wstring_view text) {
    return withBlanks(text, [](const std::wstring& clean, std::size_t i) {
        return clean[i] == L'-' && (i + 1 == clean.size() || clean[i + 1] == L'-');
    });
}

std::wstring xmlInstructionData(std::wstring_view text) {
    return withBlanks(text, [](const std::wstring& clean, std::size_t i) {
        return clean[i] == L'?' && i + 1 < clean.size() && clean[i + 1] == L'>';
    });
}

}  // namespace common
