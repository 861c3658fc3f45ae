#include "platform/mail/mime_encoding.h"

#include <algorithm>
#include <cstdint>

namespace platform::mail {
namespace {

constexpr std::string_view kBase64Digits =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::size_t kLineLimit = 78;
// UTF-8 bytes per encoded word: 48 base64 characters, 60 with "=?UTF-8?B?" and "?=".
constexpr std::size_t kWordBytes = 36;
constexpr std::size_t kParameterPiece = 60;

bool isPrintableAscii(std::string_view text) {
    for (const unsigned char c : text) {
        if (c < 0x20 || c > 0x7E) {
            return false;
        }
    }
    return true;
}

bool isContinuationByte(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The length of the longest prefix of `text` of at most `limit` bytes that does not end
// inside a UTF-8 sequence; at least one byte.
std::size_t wholeCharacters(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) {
        return text.size();
    }
    std::size_t end = limit;
    while (end > 0 && isContinuationByte(static_cast<unsigned char>(text[end]))) {
        --end;
    }
    return end == 0 ? limit : end;
}

std::string encodedWords(std::string_view text) {
    std::string out;
    while (!text.empty()) {
        const std::size_t take = wholeCharacters(text, kWordBytes);
        if (!out.empty()) {
            out += "\r\n ";
        }
        out += "=?UTF-8?B?" + base64(text.substr(0, take)) + "?=";
        text.remove_prefix(take);
    }
    return out;
}

bool isPhraseCharacter(char c) {
    return c >= 0x20 && c <= 0x7E && c != '"' && c != '\\';
}

bool isAttributeCharacter(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
        return true;
    }
    return std::string_view("!#$&+-.^_`|~").find(static_cast<char>(c)) != std::string_view::npos;
}

}  // namespace

std::string base64(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t group = static_cast<unsigned char>(bytes[i]) << 16 |
                                    static_cast<unsigned char>(bytes[i + 1]) << 8 |
                                    static_cast<unsigned char>(bytes[i + 2]);
        out += kBase64Digits[group >> 18 & 63];
        out += kBase64Digits[group >> 12 & 63];
        out += kBase64Digits[group >> 6 & 63];
        out += kBase64Digits[group & 63];
    }
    const std::size_t rest = bytes.size() - i;
    if (rest > 0) {
        std::uint32_t group = static_cast<unsigned char>(bytes[i]) << 16;
        if (rest == 2) {
            group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        }
        out += kBase64Digits[group >> 18 & 63];
        out += kBase64Digits[group >> 12 & 63];
        out += rest == 2 ? kBase64Digits[group >> 6 & 63] : '=';
        out += '=';
    }
    return out;
}

std::string base64Lines(std::string_view bytes) {
    const std::string encoded = base64(bytes);
    std::string out;
    for (std::size_t start = 0; start < encoded.size(); start += 76) {
        out += encoded.substr(start, 76);
        out += "\r\n";
    }
    return out;
}

std::string headerText(std::string_view text, std::size_t used) {
    const bool plain = isPrintableAscii(text) && text.find("=?") == std::string_view::npos &&
                       used + text.size() <= kLineLimit;
    return plain ? std::string(text) : encodedWords(text);
}

bool isMailAddress(std::string_view address) {
    const std::size_t at = address.find('@');
    if (at == std::string_view::npos || at == 0 || at + 1 == address.size() ||
        address.find('@', at + 1) != std::string_view::npos || address.size() > 254) {
        return false;
    }
    for (const char c : address) {
        if (c <= 0x20 || c > 0x7E ||
            std::string_view("<>()[],;:\"\\").find(c) != std::string_view::npos) {
            return false;
        }
    }
    return true;
}

std::string formatMailbox(std::string_view name, std::string_view address) {
    if (name.empty()) {
        return std::string(address);
    }
    bool quotable = name.size() + address.size() < 60;
    for (const char c : name) {
        quotable = quotable && isPhraseCharacter(c);
    }
    const std::string phrase = quotable && name.find("=?") == std::string_view::npos
                                   ? "\"" + std::string(name) + "\""
                                   : encodedWords(name) + "\r\n";
    return phrase + " <" + std::string(address) + ">";
}

std::string fileNameParameter(std::string_view name) {
    bool quotable = name.size() < kParameterPiece;
    for (const char c : name) {
        quotable = quotable && isPhraseCharacter(c);
    }
    if (quotable) {
        return ";\r\n filename=\"" + std::string(name) + "\"";
    }
    std::string encoded;
    for (const unsigned char c : name) {
        if (isAttributeCharacter(c)) {
            encoded += static_cast<char>(c);
        } else {
            constexpr std::string_view kHex = "0123456789ABCDEF";
            encoded += '%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 15];
        }
    }
    std::string out;
    std::size_t piece = 0;
    for (std::size_t start = 0; start < encoded.size(); ++piece) {
        std::size_t end = std::min(start + kParameterPiece, encoded.size());
        // Never split a "%XX" escape between two pieces.
        if (end < encoded.size() && encoded[end - 1] == '%') {
            end -= 1;
        } else if (end < encoded.size() && end >= 2 && encoded[end - 2] == '%') {
            end -= 2;
        }
        out += ";\r\n filename*" + std::to_string(piece) + "*=";
        if (piece == 0) {
            out += "UTF-8''";
        }
        out += encoded.substr(start, end - start);
        start = end;
    }
    return out;
}

}  // namespace platform::mail
