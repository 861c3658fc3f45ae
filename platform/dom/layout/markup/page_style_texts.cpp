#include "platform/dom/layout/markup/page_style_texts.h"

#include <utility>
#include <vector>

#include "platform/dom/document.h"
#include "platform/dom/layout/markup/element_opacity.h"
#include "platform/dom/layout/markup/layout_selectors.h"
#include "platform/dom/style/style_sheet.h"
#include "platform/text/utf.h"

namespace platform::dom {

struct PageStyleTexts::Guarded {
    std::vector<std::pair<StyleText, std::string>> texts;  // as read, in document order
    VarReferenceGuard guard;
    std::vector<std::string> sheets;  // the guarded text of each sheet among `texts`
};

namespace {

bool concerns(const std::wstring& style) {
    return style.find(L"var(") != std::wstring::npos || style.find(L"--") != std::wstring::npos;
}

// Whether the engine finds a var() in the text, a sheet's once its comments are gone.
bool usesVar(std::string_view text, StyleText kind) {
    if (text.find("var(") != std::string_view::npos)
        return true;
    // A removed comment can join "va" and "r(" into one.
    return kind == StyleText::sheet && text.find("/*") != std::string_view::npos &&
           text.find("r(") != std::string_view::npos &&
           VarReferenceGuard::withoutComments(text).find("var(") != std::string::npos;
}

}  // namespace

PageStyleTexts::PageStyleTexts(const Document& document) {
    std::vector<std::pair<StyleText, std::string>> texts;
    std::vector<std::string*> guardedSheets;
    bool var = false;
    for (const auto& sheet : document.styleSheets()) {
        std::string& text = sheets_[sheet.get()] =
            selectorsForLayout(platform::text::toUtf8(sheet->cssText()));
        if (!VarReferenceGuard::concerns(text))
            continue;
        var = var || usesVar(text, StyleText::sheet);
        texts.emplace_back(StyleText::sheet, text);
        guardedSheets.push_back(&text);
    }
    for (const auto& element : *document.all()) {
        const auto value = element->getAttribute(L"style");
        if (!value || !concerns(*value))
            continue;
        std::string text = platform::text::toUtf8(withOpacityFolded(*value));
        var = var || usesVar(text, StyleText::declarations);
        texts.emplace_back(StyleText::declarations, std::move(text));
    }
    if (!var)
        return;
    thread_local std::shared_ptr<const Guarded> last;
    if (!last || last->texts != texts) {
        auto fresh = std::make_shared<Guarded>();
        fresh->texts = std::move(texts);
        for (const auto& [kind, text] : fresh->texts)
            fresh->guard.add(text, kind);
        fresh->guard.settle();
        for (const auto& [kind, text] : fresh->texts)
            if (kind == StyleText::sheet)
                fresh->sheets.push_back(fresh->guard.guarded(text, kind));
        last = std::move(fresh);
    }
    guarded_ = last;
    for (std::size_t i = 0; i < guardedSheets.size(); ++i)
        *guardedSheets[i] = guarded_->sheets[i];
}

const std::string& PageStyleTexts::sheet(const StyleSheet& sheet) const {
    return sheets_.at(&sheet);
}

std::wstring PageStyleTexts::styleAttribute(const std::wstring& value) const {
    std::wstring folded = withOpacityFolded(value);
    if (!guarded_ || !concerns(value))
        return folded;
    return platform::text::fromUtf8(
        guarded_->guard.guarded(platform::text::toUtf8(folded), StyleText::declarations));
}

std::string PageStyleTexts::hintSheet(const std::string& text) const {
    if (!usesVar(text, StyleText::sheet))
        return text;
    // Without a guard the page's custom properties were not read: nothing may use them.
    return guarded_ ? guarded_->guard.guarded(text, StyleText::sheet, false)
                    : VarReferenceGuard::inert(text, StyleText::sheet);
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
