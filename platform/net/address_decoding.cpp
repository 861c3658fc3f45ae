#include "platform/net/address_decoding.h"

#include "platform/text/ascii_case.h"
#include "platform/text/hex_digit.h"

namespace platform::net {

namespace {

using platform::text::hexDigitValue;
using platform::text::lowerAscii;

int base64Value(char c) {
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+' || c == '-')
        return 62;
    if (c == '/' || c == '_')
        return 63;
    return -1;
}

std::optional<std::string> base64Decoded(std::string_view text) {
    std::string bytes;
    unsigned buffer = 0;
    int bits = 0;
    for (const char c : text) {
        if (c == '=' || c == ' ' || c == '\t' || c == '\r' || c == '\n')
            continue;
        const int value = base64Value(c);
        if (value < 0)
            return std::nullopt;
        buffer = (buffer << 6) | static_cast<unsigned>(value);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes += static_cast<char>((buffer >> bits) & 0xFF);
        }
    }
    return bytes;
}

}  // namespace

std::string percentDecoded(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexDigitValue(text[i + 1]) >= 0 &&
            hexDigitValue(text[i + 2]) >= 0) {
            out += static_cast<char>(hexDigitValue(text[i + 1]) * 16 + hexDigitValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::optional<std::string> dataUrlBytes(std::string_view address) {
    const auto comma = address.find(',');
    if (comma == std::string_view::npos || comma < 5)
        return std::nullopt;
    const std::string header = lowerAscii(address.substr(5, comma - 5));
    const std::string payload = percentDecoded(address.substr(comma + 1));
    if (header.ends_with(";base64"))
        return base64Decoded(payload);
    return payload;
}

std::optional<std::string> localFilePath(std::string_view address) {
    std::string_view rest = address.substr(address.find(':') + 1);
    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        const auto slash = rest.find('/');
        const std::string host = lowerAscii(rest.substr(0, slash));
        if (!host.empty() && host != "localhost")
            return std::nullopt;
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
    }
    return percentDecoded(rest.substr(0, rest.find_first_of("?#")));
}

std::optional<std::string> pageLocalFilePath(std::string_view address,
                                             std::string_view pageAddress) {
    if (lowerAscii(pageAddress.substr(0, 5)) != "file:")
        return std::nullopt;
    return localFilePath(address);
}

}  // namespace platform::net
