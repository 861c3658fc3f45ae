#include "platform/dom/style/style_sheet.h"

#include "platform/dom/document.h"
#include "platform/dom/tag_names.h"

namespace platform::dom {

StyleSheet::StyleSheet(std::shared_ptr<Element> owner, std::wstring text) : owner_(owner) {
    reload(std::move(text));
    if (owner && owner->hasTag(L"LINK")) {
        std::wstring rel = asciiLower(owner->getAttribute(L"rel").value_or(L""));
        disabled_ =
            owner->hasAttribute(L"disabled") || rel.find(L"alternate") != std::wstring::npos;
    }
}

void StyleSheet::reload(std::wstring text) {
    text_ = std::move(text);
    rules_ = parseStyleSheet(text_);
}

std::wstring StyleSheet::href() const {
    auto owner = owningElement();
    return owner && owner->hasTag(L"LINK") ? owner->getAttribute(L"href").value_or(L"") : L"";
}

std::wstring StyleSheet::type() const {
    auto owner = owningElement();
    return owner ? owner->getAttribute(L"type").value_or(L"text/css") : L"text/css";
}

std::wstring StyleSheet::media() const {
    auto owner = owningElement();
    return owner ? owner->getAttribute(L"media").value_or(L"") : L"";
}

bool StyleSheet::applies() const {
    return !disabled_ && mediaAppliesToScreen(media());
}

void StyleSheet::setDisabled(bool disabled) {
    if (disabled_ == disabled)
        return;
    disabled_ = disabled;
    if (auto owner = owningElement())
        if (auto document = owner->ownerDocument())
            document->noteStyleRulesChange();
}

void StyleSheet::setCssText(std::wstring text) {
    auto owner = owningElement();
    if (owner && owner->hasTag(L"STYLE")) {
        owner->setInnerText(text);  // the document list reloads from the element's text
    }
    reload(std::move(text));
    if (owner)
        if (auto document = owner->ownerDocument())
            document->noteStyleRulesChange();
}

}  // namespace platform::dom
