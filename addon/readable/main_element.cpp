#include "addon/readable/main_element.h"

#include "addon/page/text_case.h"
#include "addon/readable/layout_finder.h"
#include "addon/readable/name_ranks.h"
#include "addon/readable/readable_scorer.h"

namespace addon {
namespace {

bool isColumn(const ElementPtr& block, const ElementPtr& body) {
    const OptionalRect blockBox = getElementAbsoluteRect(block);
    const OptionalRect bodyBox = getElementAbsoluteRect(body);
    return blockBox && bodyBox && blockBox->width < kColumnShare * bodyBox->width;
}

}  // namespace

ElementPtr findArticleElement(const ElementPtr& body, const GrabRules& rules) {
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
    if (!byLayout || !isColumn(byLayout, body) || ClutterBlocks(rules).inside(byLayout)) {
        return byTags;
    }
    const auto layoutText = static_cast<double>(scoredText(byLayout, rules));
    const auto tagText = static_cast<double>(scoredText(byTags, rules));
    if (layoutText < kLayoutBlockShare * tagText) {
        return byTags;
    }
    if (byLayout->contains(*byTags) && tagText > kInnerBlockShare * layoutText) {
        return byTags;
    }
    return byLayout;
}

}  // namespace addon
