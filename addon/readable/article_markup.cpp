#include "addon/readable/article_markup.h"

#include "addon/readable/main_element.h"
#include "addon/readable/name_ranks.h"
#include "addon/readable/readable_scorer.h"
#include "addon/readable/shown_blocks.h"
#include "addon/readable/story_blocks.h"

namespace addon {
namespace {

// The elements of a block, itself first, in page order; a copy lists its elements in the
// same order as the block it was copied from.
std::vector<ElementPtr> elementsOf(const NodePtr& block) {
    if (block->nodeType() != dom::NodeType::Element) {
        return {};
    }
    const auto element = std::static_pointer_cast<dom::Element>(block);
    std::vector<ElementPtr> elements{element};
    const auto below = element->all();
    elements.insert(elements.end(), below.begin(), below.end());
    return elements;
}

// Removes from the copy what is hidden or clutter in the block it was copied from. The
// chosen block and the blocks around it stay whatever their names say: the finders took
// them for the article.
void removeClutter(const NodePtr& block, const NodePtr& copy, const ElementPtr& chosen,
                   const GrabRules& rules, ShownBlocks& hidden) {
    const auto originals = elementsOf(block);
    const auto copies = elementsOf(copy);
    if (originals.size() != copies.size()) {
        return;
    }
    for (std::size_t i = 0; i < originals.size(); ++i) {
        if (!originals[i]->contains(*chosen) &&
            (hidden.hidden(originals[i]) || isClutterByName(*originals[i], rules))) {
            copies[i]->removeNode(true);
        }
    }
}

}  // namespace

std::wstring articleMarkup(const ElementPtr& body, const GrabRules& rules) {
    const ElementPtr chosen = findArticleElement(body, rules);
    const auto document = chosen ? chosen->ownerDocument() : nullptr;
    if (!document) {
        return L"";
    }
    // The story's blocks in a plain block of their own: their parent may be the body.
    const ElementPtr copy = document->createElement(L"div");
    ShownBlocks hidden;
    for (const NodePtr& block : storyBlocks(chosen, rules)) {
        const NodePtr blockCopy = copy->appendChild(block->cloneNode(true));
        removeClutter(block, blockCopy, chosen, rules, hidden);
    }
    cleanElement(copy, rules);
    return copy->outerHTML();
}

}  // namespace addon
