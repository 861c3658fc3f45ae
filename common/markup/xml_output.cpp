#include "common/markup/xml_output.h"

#include "common/util/markup_escape.h"
#include "platform/text/utf.h"

namespace common::markup {

namespace {

bool allowedInXml(wchar_t c) {
    if (c < 0x20)
        return c == L'\t' || c == L'\n' || c == L'\r';
    if (c >= 0x7F && c <= 0x9F)
        return false;
    return c != 0xFFFE && c != 0xFFFF;
}

}  // namespace

void appendEscaped(std::string& out, std::string_view text, bool attribute) {
    std::wstring kept;
    kept.reserve(text.size());
    for (const wchar_t c : platform::text::fromUtf8(text))
        if (allowedInXml(c))
            kept += c;
    std::wstring escaped = escapeMarkup(kept);
    if (!attribute) {  // quotes need no reference outside attribute values
        for (std::size_t at = escaped.find(L"&quot;"); at != std::wstring::npos;
             at = escaped.find(L"&quot;", at + 1))
            escaped.replace(at, 6, L"\"");
    }
    out += platform::text::toUtf8(escaped);
}

bool isBlank(std::string_view text) {
    return text.find_first_not_of(" \t\r\n\f") == std::string_view::npos;
}

}  // namespace common::markup
