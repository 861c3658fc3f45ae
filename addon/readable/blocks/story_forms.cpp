#include "addon/readable/blocks/story_forms.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "addon/page/text_case.h"

namespace addon {

std::wstring componentName(const dom::Element& element) {
    const std::wstring classes = trimSpace(element.getAttribute(L"class").value_or(L""));
    return classes.substr(0, classes.find_first_of(L" \t\r\n\f"));
}

// Whether two blocks are of one kind: the same tag and the same class names, not none. A
// page builds the parts of one story from one template, so a sibling of the chosen block's
// kind holding prose is more of the story even when it is short.
bool sameKind(const ElementPtr& a, const ElementPtr& b) {
    const auto classOfA = a->getAttribute(L"class");
    return classOfA && !trimSpace(*classOfA).empty() && classOfA == b->getAttribute(L"class") &&
           lowerText(a->tagName()) == lowerText(b->tagName());
}

// Whether the sibling is built as one of the parts inside `block` are (the same tag and
// component): a story whose opening part stands beside the block holding the remaining
// parts, each part set a little differently.
bool kindOfPartInside(const ElementPtr& sibling, const ElementPtr& block) {
    const std::wstring component = componentName(*sibling);
    if (component.empty()) {
        return false;
    }
    const std::wstring tag = lowerText(sibling->tagName());
    for (const ElementPtr& part : block->children()) {
        if (componentName(*part) == component && lowerText(part->tagName()) == tag) {
            return true;
        }
    }
    return false;
}

// Whether the block is written as a paragraph: text and phrases only, or a plain block or
// section of paragraphs of them, no other blocks inside (a lead paragraph set in a block of
// its own).
bool isParagraphLike(const ElementPtr& element) {
    static constexpr std::array<std::wstring_view, 22> kBlockTags = {
        L"div",   L"p",   L"ul",     L"ol",     L"dl",   L"table",      L"section", L"article",
        L"aside", L"nav", L"header", L"footer", L"form", L"blockquote", L"figure",  L"pre",
        L"h1",    L"h2",  L"h3",     L"h4",     L"h5",   L"h6"};
    const std::wstring tag = lowerText(element->tagName());
    if (tag == L"p") {
        return true;
    }
    if (tag != L"div" && tag != L"section") {
        return false;
    }
    for (const auto& below : element->all()) {
        const std::wstring belowTag = lowerText(below->tagName());
        if (belowTag != L"p" &&
            std::find(kBlockTags.begin(), kBlockTags.end(), belowTag) != kBlockTags.end()) {
            return false;
        }
    }
    return true;
}

// Whether the block is written as a story's opening: a plain block or section of
// paragraphs, with pictures, their captions and subheadings between them, and no other
// blocks (lists, tables, quotations, boxes of their own).
bool isOpeningLike(const ElementPtr& element) {
    static constexpr std::array<std::wstring_view, 14> kOtherBlocks = {
        L"ul",  L"ol",     L"dl",     L"table", L"section",    L"article", L"aside",
        L"nav", L"header", L"footer", L"form",  L"blockquote", L"pre",     L"h1"};
    const std::wstring tag = lowerText(element->tagName());
    if (tag != L"div" && tag != L"section") {
        return false;
    }
    bool paragraph = false;
    for (const auto& below : element->all()) {
        const std::wstring belowTag = lowerText(below->tagName());
        if (std::find(kOtherBlocks.begin(), kOtherBlocks.end(), belowTag) != kOtherBlocks.end()) {
            return false;
        }
        paragraph = paragraph || belowTag == L"p";
    }
    return paragraph;
}

// Whether the block is written as a section of the story: a plain block or section opening
// with a level-two subheading followed by paragraphs only. A box on the writer or the paper
// after the story has a lesser heading ("About the writer"), as asides to the story do.
bool isSectionLike(const ElementPtr& element) {
    const std::wstring tag = lowerText(element->tagName());
    const auto children = element->children();
    if ((tag != L"div" && tag != L"section") || children.size() < 2) {
        return false;
    }
    if (lowerText(children.front()->tagName()) != L"h2") {
        return false;
    }
    return std::all_of(children.begin() + 1, children.end(),
                       [](const ElementPtr& child) { return lowerText(child->tagName()) == L"p"; });
}

// Whether the block is a paragraph of one sentence or more without links: a short line
// of the story ("By morning all were home."), not a label, credit or link.
bool isSentence(const ElementPtr& element, const std::wstring& trimmedText) {
    return lowerText(element->tagName()) == L"p" && !trimmedText.empty() &&
           (trimmedText.back() == L'.' || trimmedText.find(L". ") != std::wstring::npos) &&
           element->getElementsByTagName(L"A").empty();
}

// Whether the sibling holds, as many levels down as `part` stands below `block`, a block of
// `part`'s tag and component: a part built from the template of the part the finder took, in
// a wrapper of another kind (an opening set in an "intro" block, the rest in a "body" block,
// each holding the paragraphs in the same inner block).
bool holdsPartLike(const ElementPtr& sibling, const ElementPtr& block, const ElementPtr& part) {
    const std::wstring component = componentName(*part);
    if (component.empty() || part == block) {
        return false;
    }
    std::size_t depth = 0;
    for (ElementPtr above = part; above && above != block; above = above->parentElement()) {
        ++depth;
    }
    std::vector<ElementPtr> level{sibling};
    for (std::size_t i = 0; i < depth && !level.empty(); ++i) {
        std::vector<ElementPtr> below;
        for (const ElementPtr& element : level) {
            const auto children = element->children();
            below.insert(below.end(), children.begin(), children.end());
        }
        level = std::move(below);
    }
    const std::wstring tag = lowerText(part->tagName());
    return std::any_of(level.begin(), level.end(), [&](const ElementPtr& element) {
        return componentName(*element) == component && lowerText(element->tagName()) == tag;
    });
}

// Whether the sibling is laid out beside the block, in a column of its own (a sidebar):
// their boxes share rows of the page but no column. The parts of a story follow one another
// down the page.
bool besideColumn(const ElementPtr& sibling, const ElementPtr& block) {
    const OptionalRect side = getElementAbsoluteRect(sibling);
    const OptionalRect main = getElementAbsoluteRect(block);
    if (!side || !main || side->width <= 0 || main->width <= 0 || side->height <= 0 ||
        main->height <= 0) {
        return false;
    }
    const bool sharesRows = side->y < main->bottom() && main->y < side->bottom();
    const bool sharesColumns = side->x < main->right() && main->x < side->right();
    return sharesRows && !sharesColumns;
}

}  // namespace addon
