#include "addon/readable/main_element.h"

#include <algorithm>

#include "addon/page/text_case.h"
#include "addon/readable/blocks/link_share.h"
#include "addon/readable/layout_finder.h"
#include "addon/readable/name_ranks.h"
#include "addon/readable/readable_scorer.h"
#include "addon/readable/story_blocks.h"

namespace addon {
namespace {

bool isColumn(const ElementPtr& block, const ElementPtr& body) {
    const OptionalRect blockBox = getElementAbsoluteRect(block);
    const OptionalRect bodyBox = getElementAbsoluteRect(body);
    return blockBox && bodyBox && blockBox->width < kColumnShare * bodyBox->width;
}

// The block holding both finders' blocks when they found two halves of one story: two
// blocks apart (neither holds the other) of like weight, below one block that is not the
// page, not clutter, holds few links and little text besides the two. A page that sets
// its opening part and its remaining parts in sections of different kinds has each finder
// take one of them.
ElementPtr bothHalves(const ElementPtr& byLayout, const ElementPtr& byTags, double layoutText,
                      double tagText, const GrabRules& rules) {
    if (byLayout->contains(*byTags) || byTags->contains(*byLayout) ||
        std::min(layoutText, tagText) < kHalfShare * std::max(layoutText, tagText)) {
        return nullptr;
    }
    const ElementPtr holder = commonAncestor(byLayout, byTags);
    if (!holder || isPageElement(*holder) || ClutterBlocks(rules).inside(holder)) {
        return nullptr;
    }
    const std::size_t length = trimSpace(holder->innerText()).size();
    if (linkShare(holder, length) > kSiblingLinkShare ||
        static_cast<double>(scoredText(holder, rules)) > kHalvesShare * (layoutText + tagText)) {
        return nullptr;
    }
    return holder;
}

// The article block as the two finders and the rule above choose it, before a table's body
// is taken for its table.
ElementPtr chooseArticleElement(const ElementPtr& body, const GrabRules& rules) {
    if (!body) {
        return nullptr;
    }
    const ElementPtr byLayout = findMainElement(body);
    const ElementPtr byTags = scoreByTags(body, rules);
    if (!byTags && !byLayout) {
        return trimSpace(body->innerText()).empty() ? nullptr : body;
    }
    if (!byTags || byTags == byLayout) {
        return byLayout;
    }
    if (!byLayout || ClutterBlocks(rules).inside(byLayout)) {
        return byTags;
    }
    const auto layoutText = static_cast<double>(scoredText(byLayout, rules));
    const auto tagText = static_cast<double>(scoredText(byTags, rules));
    if (const ElementPtr holder = bothHalves(byLayout, byTags, layoutText, tagText, rules)) {
        return holder;
    }
    if (!isColumn(byLayout, body)) {
        return byTags;
    }
    if (layoutText < kLayoutBlockShare * tagText) {
        return byTags;
    }
    if (byLayout->contains(*byTags) && tagText > kInnerBlockShare * layoutText) {
        return byTags;
    }
    return byLayout;
}

}  // namespace

ElementPtr findArticleElement(const ElementPtr& body, const GrabRules& rules) {
    return wholeTable(chooseArticleElement(body, rules));
}

}  // namespace addon
