#include "addon/readable/opening_heading.h"

#include "addon/page/text_case.h"
#include "addon/readable/blocks/shown_blocks.h"
#include "addon/readable/name_ranks.h"

namespace addon {
namespace {

bool isLevelOneHeading(const dom::Element& element) {
    return lowerText(element.tagName()) == L"h1";
}

bool holdsHeading(const ElementPtr& element) {
    return isLevelOneHeading(*element) || !element->getElementsByTagName(L"H1").empty();
}

// The nearest node before `block` among its siblings that shows text; null when none does.
NodePtr textBefore(const ElementPtr& block, ShownBlocks& hidden) {
    for (NodePtr before = block->previousSibling(); before; before = before->previousSibling()) {
        if (before->nodeType() == dom::NodeType::Text) {
            if (!trimSpace(before->nodeValue()).empty()) {
                return before;
            }
            continue;
        }
        const ElementPtr element = asElement(before);
        if (element && !hidden.hidden(element) && !trimSpace(element->innerText()).empty()) {
            return before;
        }
    }
    return nullptr;
}

}  // namespace

ElementPtr openingHeading(const std::vector<NodePtr>& story, const GrabRules& rules) {
    ElementPtr first;
    for (const NodePtr& node : story) {
        const ElementPtr element = asElement(node);
        if (element && holdsHeading(element)) {
            return nullptr;
        }
        first = first ? first : element;
    }
    ShownBlocks hidden;
    ElementPtr branch = first;
    for (std::size_t level = 0; branch && level <= kOpeningLevels; ++level) {
        if (!branch->parentElement() || isPageElement(*branch)) {
            return nullptr;
        }
        if (const NodePtr before = textBefore(branch, hidden)) {
            const ElementPtr heading = asElement(before);
            return heading && isLevelOneHeading(*heading) &&
                           trimSpace(heading->innerText()).size() <= kHeadingText &&
                           !ClutterBlocks(rules).inside(heading)
                       ? heading
                       : nullptr;
        }
        branch = branch->parentElement();
    }
    return nullptr;
}

}  // namespace addon
