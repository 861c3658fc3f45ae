#include "platform/dom/layout/page_style_texts.h"

#include "platform/dom/document.h"
#include "platform/dom/layout/element_opacity.h"
#include "platform/dom/layout/layout_selectors.h"
#include "platform/dom/style/style_sheet.h"
#include "platform/text/utf.h"

namespace platform::dom {

namespace {

bool concerns(const std::wstring& style) {
    return style.find(L"var(") != std::wstring::npos || style.find(L"--") != std::wstring::npos;
}

}  // namespace

PageStyleTexts::PageStyleTexts(const Document& document) {
    for (const auto& sheet : document.styleSheets()) {
        std::string text = selectorsForLayout(platform::text::toUtf8(sheet->cssText()));
        if (VarReferenceGuard::concerns(text))
            guard_.add(text, StyleText::sheet);
        sheets_.emplace(sheet.get(), std::move(text));
    }
    for (const auto& element : *document.all()) {
        const auto value = element->getAttribute(L"style");
        if (value && concerns(*value))
            guard_.add(platform::text::toUtf8(withOpacityFolded(*value)), StyleText::declarations);
    }
    guard_.settle();
    for (auto& [sheet, text] : sheets_)
        if (VarReferenceGuard::concerns(text))
            text = guard_.guarded(text, StyleText::sheet);
}

const std::string& PageStyleTexts::sheet(const StyleSheet& sheet) const {
    return sheets_.at(&sheet);
}

std::wstring PageStyleTexts::styleAttribute(const std::wstring& value) const {
    std::wstring folded = withOpacityFolded(value);
    if (!concerns(value))
        return folded;
    return platform::text::fromUtf8(
        guard_.guarded(platform::text::toUtf8(folded), StyleText::declarations));
}

std::string PageStyleTexts::hintSheet(const std::string& text) const {
    if (!VarReferenceGuard::concerns(text))
        return text;
    return guard_.guarded(text, StyleText::sheet, false);
}

std::string PageStyleTexts::forStyleElement(const std::string& css) {
    std::string out;
    std::size_t copied = 0;
    for (std::size_t at = css.find("</"); at != std::string::npos; at = css.find("</", at + 2)) {
        static constexpr std::string_view kStyle = "style";
        bool style = at + 2 + kStyle.size() <= css.size();
        for (std::size_t i = 0; style && i < kStyle.size(); ++i)
            style = (css[at + 2 + i] | 0x20) == kStyle[i];
        if (!style)
            continue;
        // "\/" is the same "/" to CSS and no end tag to the markup parser.
        out.append(css, copied, at + 1 - copied);
        out += '\\';
        copied = at + 1;
    }
    if (copied == 0)
        return css;
    out.append(css, copied, std::string::npos);
    return out;
}

}  // namespace platform::dom
