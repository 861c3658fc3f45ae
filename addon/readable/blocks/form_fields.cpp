#include "addon/readable/blocks/form_fields.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "addon/page/text_case.h"

namespace addon {
namespace {

bool isField(const dom::Element& element) {
    static constexpr std::array<std::wstring_view, 6> kNoFields = {L"hidden", L"submit", L"button",
                                                                   L"reset",  L"image",  L"file"};
    const std::wstring tag = lowerText(element.tagName());
    if (tag == L"textarea" || tag == L"select") {
        return true;
    }
    if (tag != L"input") {
        return false;
    }
    const std::wstring type = lowerText(trimSpace(element.getAttribute(L"type").value_or(L"")));
    return std::find(kNoFields.begin(), kNoFields.end(), type) == kNoFields.end();
}

}  // namespace

bool isCaptchaNotice(const dom::Element& element) {
    return !element.innerTextReaches(kCaptchaNoticeText) &&
           lowerText(element.innerText()).find(L"protected by recaptcha") != std::wstring::npos;
}

FormBlocks::FormBlocks(const ElementPtr& root) {
    if (!root) {
        return;
    }
    std::vector<ElementPtr> elements = root->all();
    elements.push_back(root);
    for (const ElementPtr& element : elements) {
        if (!isField(*element)) {
            continue;
        }
        // Up to the root, or to a block already known to hold a field.
        for (const dom::Node* node = element.get(); node != nullptr;
             node = node == root.get() ? nullptr : node->parentPointer()) {
            if (node->nodeType() != dom::NodeType::Element ||
                !holders_.insert(static_cast<const dom::Element*>(node)).second) {
                break;
            }
        }
    }
}

bool FormBlocks::holdsField(const dom::Element& element) const {
    return holders_.count(&element) > 0;
}

bool FormBlocks::isForm(const dom::Element& element) const {
    return holdsField(element) && !element.innerTextReaches(kFormBlockText);
}

}  // namespace addon
