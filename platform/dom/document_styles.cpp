// The style-sheet list and the cascade engine of Document.
#include "platform/dom/cascade.h"
#include "platform/dom/document.h"
#include "platform/dom/inline_style.h"
#include "platform/dom/inner_text.h"
#include "platform/dom/style_sheet.h"
#include "platform/dom/tag_names.h"
#include "platform/text/utf.h"

namespace platform::dom {

namespace {

bool isStyleSheetLink(const Element& element) {
    if (!element.hasTag(L"LINK"))
        return false;
    std::wstring rel = asciiLower(element.getAttribute(L"rel").value_or(L""));
    return rel.find(L"stylesheet") != std::wstring::npos;
}

bool isCssStyleElement(const Element& element) {
    if (!element.hasTag(L"STYLE") || element.elementNamespace() != Namespace::Html)
        return false;
    std::wstring type = asciiLower(element.getAttribute(L"type").value_or(L"text/css"));
    return type.empty() || type == L"text/css";
}

}  // namespace

void Document::setStyleSheetLoader(StyleSheetLoader loader) {
    loader_ = std::move(loader);
    linkedSheetTexts_.clear();
    noteMutation();
}

const std::vector<std::shared_ptr<StyleSheet>>& Document::styleSheets() const {
    if (sheetsVersion_ == version_)
        return sheets_;
    std::vector<std::shared_ptr<StyleSheet>> previous = std::move(sheets_);
    sheets_.clear();
    for (const auto& element : *all()) {
        std::wstring text;
        if (isCssStyleElement(*element)) {
            text = textContent(*element);
        } else if (isStyleSheetLink(*element)) {
            std::wstring href = element->getAttribute(L"href").value_or(L"");
            auto cached = linkedSheetTexts_.find(href);
            if (cached == linkedSheetTexts_.end()) {
                std::optional<std::string> loaded;
                if (loader_)
                    loaded = loader_(href, url_);
                cached =
                    linkedSheetTexts_.emplace(href, platform::text::fromUtf8(loaded.value_or("")))
                        .first;
            }
            text = cached->second;
        } else {
            continue;
        }
        auto kept = std::find_if(previous.begin(), previous.end(), [&](const auto& sheet) {
            return sheet->owningElement() == element;
        });
        if (kept != previous.end()) {
            if ((*kept)->cssText() != text)
                (*kept)->reload(std::move(text));
            sheets_.push_back(*kept);
        } else {
            sheets_.push_back(std::make_shared<StyleSheet>(element, std::move(text)));
        }
    }
    sheetsVersion_ = version_;
    return sheets_;
}

StyleEngine& Document::styles() const {
    if (!styles_)
        styles_ = std::make_unique<StyleEngine>(*this);
    return *styles_;
}

Style Element::style() {
    return Style(std::static_pointer_cast<Element>(shared_from_this()));
}

std::shared_ptr<const ComputedStyle> Element::currentStyle() const {
    auto document = ownerDocument();
    if (!document)
        return nullptr;
    return document->styles().styleOf(*this);
}

}  // namespace platform::dom
