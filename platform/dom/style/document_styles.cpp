// The style-sheet list and the cascade engine of Document.
#include <algorithm>

#include "platform/dom/document.h"
#include "platform/dom/inner_text.h"
#include "platform/dom/style/cascade.h"
#include "platform/dom/style/inline_style.h"
#include "platform/dom/style/style_sheet.h"
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

bool isStyleSource(const Element& element) {
    return isCssStyleElement(element) || element.hasTag(L"LINK");
}

// Whether the subtree holds a "STYLE" or "LINK" element. Without recursion.
bool holdsStyleSource(const Node& root) {
    std::vector<const Node*> pending{&root};
    while (!pending.empty()) {
        const Node* node = pending.back();
        pending.pop_back();
        if (node->nodeType() != NodeType::Element)
            continue;
        if (isStyleSource(static_cast<const Element&>(*node)))
            return true;
        for (const auto& child : node->childNodes())
            pending.push_back(child.get());
    }
    return false;
}

bool isStyleSourceNode(const Node& node) {
    return node.nodeType() == NodeType::Element && isStyleSource(static_cast<const Element&>(node));
}

}  // namespace

void Document::noteMutation() {
    ++version_;
    ++treeVersion_;
    ++styleGeneration_;
    noteSheetListChange();
    forgetAttributeChanges();
}

void Document::noteSheetListChange() {
    ++sheetListVersion_;
    ++styleRulesVersion_;
}

void Document::noteTreeChange(const Node& parent, const Node& child) {
    ++version_;
    ++treeVersion_;
    ++styleGeneration_;
    if (isStyleSourceNode(parent) || holdsStyleSource(child))
        noteSheetListChange();
    forgetAttributeChanges();
}

// The element drops its own style (element.cpp); the elements below it, and its siblings
// (which selectors such as ".a + p" may match through it), must be checked again only
// when there are any.
void Document::noteAttributeChange(const Element& element) {
    ++version_;
    auto isElement = [](const auto& node) { return node->nodeType() == NodeType::Element; };
    bool hasElementSibling = false;
    if (const Node* parent = element.parentPointer()) {
        const auto& siblings = parent->childNodes();
        const auto at = siblings.begin() + static_cast<std::ptrdiff_t>(element.indexInParent());
        hasElementSibling =
            std::any_of(std::make_reverse_iterator(at), siblings.rend(), isElement) ||
            std::any_of(at + 1, siblings.end(), isElement);
    }
    if (hasElementSibling ||
        std::any_of(element.childNodes().begin(), element.childNodes().end(), isElement))
        ++styleGeneration_;
    if (isStyleSource(element) || attributeChanges_.size() == kMaxAttributeChanges)
        forgetAttributeChanges();
    else
        attributeChanges_.emplace_back(version_, &element);
    if (isStyleSource(element))
        noteSheetListChange();
}

void Document::noteTextChange(const Node& node) {
    ++version_;
    forgetAttributeChanges();
    if (auto parent = node.parentNode(); parent && isStyleSourceNode(*parent))
        noteSheetListChange();
}

void Document::noteStyleRulesChange() {
    ++version_;
    ++styleRulesVersion_;
    forgetAttributeChanges();
}

void Document::setStyleSheetLoader(StyleSheetLoader loader) {
    loader_ = std::move(loader);
    linkedSheetTexts_.clear();
    ++version_;
    noteSheetListChange();
    forgetAttributeChanges();
}

const std::vector<std::shared_ptr<StyleSheet>>& Document::styleSheets() const {
    if (sheetsVersion_ == sheetListVersion_)
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
    sheetsVersion_ = sheetListVersion_;
    return sheets_;
}

StyleEngine& Document::styles() const {
    if (!styles_)
        styles_ = std::make_shared<StyleEngine>(*this);
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
