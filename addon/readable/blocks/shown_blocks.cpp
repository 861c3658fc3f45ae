#include "addon/readable/blocks/shown_blocks.h"

#include "addon/page/text_case.h"
#include "platform/dom/style/cascade.h"

namespace addon {
namespace {

bool hasValue(const ElementPtr& element, platform::dom::PropertyId property, const wchar_t* value) {
    const auto style = element ? element->currentStyle() : nullptr;
    return style && lowerText(style->value(property)) == value;
}

// An element with the "hidden" attribute is not shown, whatever its style sheets say.
// Visibility passes down to the blocks below: a block hides by it where its parent shows,
// so what a hidden page element passes down hides nothing.
bool hidesItself(const ElementPtr& element) {
    using platform::dom::PropertyId;
    if (element->getAttribute(L"hidden") || hasValue(element, PropertyId::Display, L"none")) {
        return true;
    }
    return hasValue(element, PropertyId::Visibility, L"hidden") &&
           !hasValue(element->parentElement(), PropertyId::Visibility, L"hidden");
}

}  // namespace

bool ShownBlocks::hidden(const ElementPtr& element) {
    if (!element || isPageElement(*element)) {
        return false;
    }
    const auto found = known_.find(element.get());
    if (found != known_.end()) {
        return found->second;
    }
    const bool answer = hidesItself(element) || hidden(element->parentElement());
    known_.emplace(element.get(), answer);
    return answer;
}

}  // namespace addon
