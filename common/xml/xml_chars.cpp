#include "common/xml/xml_chars.h"

#include <cstdint>
#include <cstring>

#include "platform/text/utf.h"

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

bool isAsciiXmlChar(unsigned char byte) {
    return (byte >= 0x20 && byte < 0x80) || byte == '\t' || byte == '\n' || byte == '\r';
}

// Well-formed UTF-8 holds no character outside XML but U+FFFE and U+FFFF (EF BF BE/BF)
// and the ASCII controls.
bool isFitUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            if (!isAsciiXmlChar(byte))
                return false;
        } else if (byte == 0xEF && i + 2 < text.size() && text[i + 1] == '\xBF' &&
                   (text[i + 2] == '\xBE' || text[i + 2] == '\xBF')) {
            return false;
        }
    }
    return platform::text::isValidUtf8(text);
}

// The length of the leading run of printable ASCII (0x20-0x7F), eight bytes at a time.
std::size_t printableAsciiPrefix(std::string_view text) {
    constexpr std::uint64_t kEach = 0x0101010101010101ULL;
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + at, sizeof word);
        // A high bit set in a byte, or a byte below 0x20, ends the run.
        if (((word | (word - 0x20 * kEach)) & 0x80 * kEach) != 0)
            break;
    }
    return at;
}

}  // namespace

std::string_view xmlCharacterDataUtf8(std::string_view text, std::string& scratch) {
    std::size_t ascii = printableAsciiPrefix(text);
    while (ascii < text.size() && isAsciiXmlChar(static_cast<unsigned char>(text[ascii])))
        ++ascii;
    if (ascii == text.size() || isFitUtf8(text.substr(ascii)))
        return text;
    scratch.assign(text.substr(0, ascii));
    for (std::size_t i = ascii; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            if (isAsciiXmlChar(byte))
                scratch += static_cast<char>(byte);
            else
                scratch += "\xEF\xBF\xBD";
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && static_cast<unsigned char>(text[end]) >= 0x80)
            ++end;
        scratch += platform::text::toUtf8(
            xmlCharacterData(platform::text::fromUtf8(text.substr(i, end - i))));
        i = end;
    }
    return scratch;
}

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
