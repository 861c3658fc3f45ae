#include "platform/text/utf.h"

namespace platform::text {
namespace {

bool isScalarValue(char32_t c) {
    return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

void appendUtf8(std::string& out, char32_t c) {
    if (!isScalarValue(c))
        c = kReplacementChar;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one code point at `pos`, advancing it past the sequence. An ill-formed
// sequence yields U+FFFD and advances past its maximal valid prefix (at least one byte).
char32_t decodeUtf8(std::string_view in, size_t& pos) {
    const auto lead = static_cast<unsigned char>(in[pos++]);
    if (lead < 0x80)
        return lead;
    int followers;
    char32_t c;
    unsigned char lowest = 0x80, highest = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        followers = 1;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        followers = 2;
        c = lead & 0x0F;
        if (lead == 0xE0)
            lowest = 0xA0;
        if (lead == 0xED)
            highest = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        followers = 3;
        c = lead & 0x07;
        if (lead == 0xF0)
            lowest = 0x90;
        if (lead == 0xF4)
            highest = 0x8F;
    } else {
        return kReplacementChar;
    }
    for (int i = 0; i < followers; ++i) {
        if (pos >= in.size())
            return kReplacementChar;
        const auto next = static_cast<unsigned char>(in[pos]);
        if (next < lowest || next > highest)
            return kReplacementChar;
        lowest = 0x80;
        highest = 0xBF;
        c = (c << 6) | (next & 0x3F);
        ++pos;
    }
    return c;
}

}  // namespace

std::string toUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t w : text)
        appendUtf8(out, static_cast<char32_t>(w));
    return out;
}

std::wstring fromUtf8(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    size_t pos = 0;
    while (pos < bytes.size())
        out += static_cast<wchar_t>(decodeUtf8(bytes, pos));
    return out;
}

bool isValidUtf8(std::string_view bytes) {
    size_t pos = 0;
    while (pos < bytes.size()) {
        const size_t start = pos;
        if (decodeUtf8(bytes, pos) == kReplacementChar) {
            // A literal U+FFFD is well-formed; anything else that decoded to it is not.
            if (bytes.substr(start, pos - start) != "\xEF\xBF\xBD")
                return false;
        }
    }
    return true;
}

std::u16string toUtf16(std::wstring_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (wchar_t w : text) {
        char32_t c = static_cast<char32_t>(w);
        if (!isScalarValue(c))
            c = kReplacementChar;
        if (c < 0x10000) {
            out += static_cast<char16_t>(c);
        } else {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        }
    }
    return out;
}

std::wstring fromUtf16(std::u16string_view units) {
    std::wstring out;
    out.reserve(units.size());
    for (size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            out += static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            out += static_cast<wchar_t>(kReplacementChar);
        } else {
            out += static_cast<wchar_t>(u);
        }
    }
    return out;
}

}  // namespace platform::text
