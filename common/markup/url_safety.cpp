#include "common/markup/url_safety.h"

#include "common/markup/xml_output.h"

namespace common::markup {

namespace {

// Lower case, without what browsers skip or strip when they read an address.
std::string compact(std::string_view value) {
    std::string kept;
    kept.reserve(value.size());
    for (const char c : value)
        if (static_cast<unsigned char>(c) > 0x20)
            kept += c;
    return lowerAscii(kept);
}

bool startsWithAny(std::string_view text, std::initializer_list<std::string_view> prefixes) {
    for (const std::string_view prefix : prefixes)
        if (text.starts_with(prefix))
            return true;
    return false;
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool allowedInUri(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    static constexpr std::string_view kMarks = "-._~:/?#[]@!$&'()*+,;=";
    return kMarks.find(static_cast<char>(c)) != std::string_view::npos;
}

}  // namespace

bool isScriptUrl(std::string_view value) {
    return startsWithAny(compact(value), {"javascript:", "vbscript:", "livescript:"});
}

bool isDataUrl(std::string_view value) {
    return compact(value).starts_with("data:");
}

bool isPictureDataUrl(std::string_view value) {
    const std::string text = compact(value);
    for (const std::string_view type : {"data:image/png", "data:image/jpeg", "data:image/jpg",
                                        "data:image/gif", "data:image/webp", "data:image/bmp"}) {
        if (text.starts_with(type) && text.size() > type.size() &&
            (text[type.size()] == ';' || text[type.size()] == ','))
            return true;
    }
    return false;
}

std::string bookLinkTarget(std::string_view value) {
    const std::size_t start = value.find_first_not_of(" \t\r\n\f");
    const std::size_t end = value.find_last_not_of(" \t\r\n\f");
    if (start == std::string_view::npos)
        return {};
    const std::string_view trimmed = value.substr(start, end - start + 1);
    const std::string lower = lowerAscii(trimmed.substr(0, 8));
    if (!startsWithAny(lower, {"http://", "https://", "ftp://", "mailto:"}))
        return {};
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string target;
    for (std::size_t i = 0; i < trimmed.size(); ++i) {
        const auto c = static_cast<unsigned char>(trimmed[i]);
        const bool escape = c == '%' && i + 2 < trimmed.size() && isHexDigit(trimmed[i + 1]) &&
                            isHexDigit(trimmed[i + 2]);
        if (allowedInUri(c) || escape) {
            target += static_cast<char>(c);
        } else {
            target += '%';
            target += kHex[c >> 4];
            target += kHex[c & 0x0F];
        }
    }
    return target;
}

}  // namespace common::markup
