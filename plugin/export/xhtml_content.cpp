#include "plugin/export/xhtml_content.h"

#include "platform/text/utf.h"
#include "plugin/util/conversions.h"

namespace plugin {

namespace {

bool allowedInXml(wchar_t c) {
    if (c < 0x20)
        return c == L'\t' || c == L'\n' || c == L'\r';
    return c != 0xFFFE && c != 0xFFFF && (c < 0xD800 || c > 0xDFFF);
}

std::wstring withoutForbiddenCharacters(std::wstring_view text) {
    std::wstring kept;
    kept.reserve(text.size());
    for (const wchar_t c : text)
        if (allowedInXml(c))
            kept.push_back(c);
    return kept;
}

}  // namespace

std::string xmlText(std::wstring_view text) {
    return platform::text::toUtf8(xmlEscape(withoutForbiddenCharacters(text)));
}

}  // namespace plugin
