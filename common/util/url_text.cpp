#include "common/util/url_text.h"

#include <cstdint>

#include "platform/text/hex_digit.h"
#include "platform/text/utf.h"

namespace common {
namespace {

using platform::text::hexDigitValue;

bool isContinuation(wchar_t c) {
    return c >= 0x80 && c <= 0xBF;
}

// The character of a well-formed UTF-8 sequence of bytes (held as characters below 0x100)
// at `text[i]`, and its length; length 0 when none starts there.
std::pair<char32_t, std::size_t> utf8SequenceAt(std::wstring_view text, std::size_t i) {
    const auto lead = static_cast<std::uint32_t>(text[i]);
    std::size_t length = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07, minimum = 0x10000;
    } else {
        return {0, 0};
    }
    if (text.size() - i < length) {
        return {0, 0};
    }
    for (std::size_t k = 1; k < length; ++k) {
        if (!isContinuation(text[i + k])) {
            return {0, 0};
        }
        code = (code << 6) | (static_cast<std::uint32_t>(text[i + k]) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return {0, 0};
    }
    return {code, length};
}

}  // namespace

std::wstring urlDecode(std::wstring_view text) {
    std::wstring decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'+') {
            decoded += L' ';
        } else if (text[i] == L'%' && i + 2 < text.size() && hexDigitValue(text[i + 1]) >= 0 &&
                   hexDigitValue(text[i + 2]) >= 0) {
            decoded +=
                static_cast<wchar_t>(hexDigitValue(text[i + 1]) * 16 + hexDigitValue(text[i + 2]));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

std::wstring urlUnescape(std::wstring_view url) {
    const std::wstring bytes = urlDecode(url);
    std::wstring text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const auto [code, length] = utf8SequenceAt(bytes, i);
        if (length == 0) {
            text += bytes[i++];
        } else {
            text += static_cast<wchar_t>(code);
            i += length;
        }
    }
    return text;
}

std::wstring urlUnescapeKeepingPlus(std::wstring_view text) {
    std::wstring guarded;
    guarded.reserve(text.size());
    for (wchar_t c : text) {
        if (c == L'+') {
            guarded += L"%2B";
        } else {
            guarded += c;
        }
    }
    return urlUnescape(guarded);
}

std::wstring urlEncodeComponent(std::wstring_view text) {
    static const char* const kHex = "0123456789ABCDEF";
    std::wstring encoded;
    for (const char c : platform::text::toUtf8(text)) {
        const auto byte = static_cast<unsigned char>(c);
        const bool unreserved = (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
                                (byte >= 'a' && byte <= 'z') || byte == '-' || byte == '.' ||
                                byte == '_' || byte == '~';
        if (unreserved) {
            encoded += static_cast<wchar_t>(byte);
        } else {
            encoded += L'%';
            encoded += static_cast<wchar_t>(kHex[byte >> 4]);
            encoded += static_cast<wchar_t>(kHex[byte & 15]);
        }
    }
    return encoded;
}

std::wstring hostOfUrl(std::wstring_view url) {
    const auto scheme = url.find(L"://");
    if (scheme == std::wstring_view::npos || scheme == 0) {
        return {};
    }
    const auto start = scheme + 3;
    const auto end = url.find(L'/', start);
    return std::wstring(url.substr(start, end == std::wstring_view::npos ? end : end - start));
}

}  // namespace common
