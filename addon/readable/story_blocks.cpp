#include "addon/readable/story_blocks.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "addon/page/text_case.h"
#include "addon/readable/blocks/link_share.h"
#include "addon/readable/blocks/note_links.h"
#include "addon/readable/blocks/shown_blocks.h"
#include "addon/readable/name_ranks.h"
#include "addon/readable/opening_heading.h"
#include "addon/readable/readable_scorer.h"

namespace addon {
namespace {

// Whether two blocks are of one kind: the same tag and the same class names, not none. A
// page builds the parts of one story from one template, so a sibling of the chosen block's
// kind holding prose is more of the story even when it is short.
bool sameKind(const ElementPtr& a, const ElementPtr& b) {
    const auto classOfA = a->getAttribute(L"class");
    return classOfA && !trimSpace(*classOfA).empty() && classOfA == b->getAttribute(L"class") &&
           lowerText(a->tagName()) == lowerText(b->tagName());
}

// The first word of a class attribute, "" for none: the name of the component a block is
// built from, the words after it its variations (spacing, colours, widths).
std::wstring componentName(const dom::Element& element) {
    const std::wstring classes = trimSpace(element.getAttribute(L"class").value_or(L""));
    return classes.substr(0, classes.find_first_of(L" \t\r\n\f"));
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

class StoryTest {
  public:
    // `found` is the block the finder took, `chosen` the block standing for it.
    StoryTest(const ElementPtr& found, const ElementPtr& chosen, const GrabRules& rules)
        : found_(found),
          rules_(rules),
          clutter_(rules),
          least_(kSiblingShare * static_cast<double>(blockText(chosen, rules))) {}

    // Whether the block may stand in the story at all.
    bool allowed(const ElementPtr& element) {
        return !hidden_.hidden(element) && !clutter_.inside(element);
    }

    // Whether the sibling of `block` carries the story on by itself.
    bool continues(const ElementPtr& sibling, const ElementPtr& block, bool opening = false) {
        if (!allowed(sibling)) {
            return false;
        }
        const std::wstring text = trimSpace(sibling->innerText());
        const std::size_t length = text.size();
        if (length == 0 || linkShare(sibling, length) > kSiblingLinkShare ||
            besideColumn(sibling, block)) {
            return false;
        }
        if (isSentence(sibling, text)) {
            return true;
        }
        if (isParagraphLike(sibling) ||
            (opening && isOpeningLike(sibling) && !holdsClutter(sibling)) ||
            sameKind(sibling, block) || kindOfPartInside(sibling, block) ||
            holdsPartLike(sibling, block, found_)) {
            return length >= kSiblingParagraph;
        }
        return least_ > 0 && static_cast<double>(blockText(sibling, rules_)) >= least_;
    }

  private:
    // Whether a block inside the element is clutter (a list of teasers set as an opening is
    // none).
    bool holdsClutter(const ElementPtr& element) {
        const auto below = element->all();
        return std::any_of(below.begin(), below.end(),
                           [this](const ElementPtr& inner) { return clutter_.inside(inner); });
    }

    ElementPtr found_;
    const GrabRules& rules_;
    ShownBlocks hidden_;
    ClutterBlocks clutter_;
    double least_;
};

ElementPtr asElement(const NodePtr& node) {
    return node && node->nodeType() == dom::NodeType::Element
               ? std::static_pointer_cast<dom::Element>(node)
               : nullptr;
}

bool isPageElement(const ElementPtr& element) {
    const std::wstring tag = lowerText(element->tagName());
    return tag == L"body" || tag == L"html";
}

// Pictures and their captions belong to the part they stand beside.
bool isPicture(const ElementPtr& element) {
    const std::wstring tag = lowerText(element->tagName());
    return tag == L"figure" || tag == L"figcaption" || tag == L"picture" || tag == L"img";
}

// The highest block above the chosen one that holds no other text: a story part is often
// wrapped alone in a block of its own, and the parts continue beside the outermost
// wrapper.
ElementPtr outermostWrapper(ElementPtr block) {
    for (ElementPtr parent = block->parentElement(); parent && !isPageElement(parent);
         parent = parent->parentElement()) {
        for (const NodePtr& child : parent->childNodes()) {
            const ElementPtr element = asElement(child);
            if (child == block || (element && isPicture(element))) {
                continue;
            }
            const bool isText = child->nodeType() == dom::NodeType::Text;
            const std::wstring text = element  ? element->innerText()
                                      : isText ? child->nodeValue()
                                               : L"";
            const std::size_t length = trimSpace(text).size();
            // A block of links only ("Read more") is no other text either.
            if (length > 0 && !(element && linkShare(element, length) >= 1.0)) {
                return block;
            }
        }
        block = parent;
    }
    return block;
}

// The block whose siblings are the story's parts: the lowest of the wrapper and the
// blocks up to kKindLevels above it that has a sibling of its own kind carrying the story
// on (each part of a template may hold more than story), else the wrapper.
ElementPtr partsLevel(const ElementPtr& wrapper, StoryTest& test) {
    ElementPtr block = wrapper;
    for (std::size_t level = 0; level <= kKindLevels; ++level) {
        const ElementPtr parent = block->parentElement();
        if (!parent || isPageElement(block) || !test.allowed(block)) {
            break;
        }
        for (const ElementPtr& sibling : parent->children()) {
            if (sibling != block && sameKind(sibling, block) && test.continues(sibling, block)) {
                return block;
            }
        }
        block = parent;
    }
    return wrapper;
}

// The last of the blocks after the story that hold its notes (note_links.h): at least
// kNoteTargets targets of the links of the story's blocks from `first` to `last`. `last`
// when none follows.
std::size_t notesEnd(const std::vector<NodePtr>& siblings, std::size_t first, std::size_t last,
                     StoryTest& test) {
    NoteLinks links;
    for (std::size_t i = first; i <= last; ++i) {
        links.addLinksOf(asElement(siblings[i]));
    }
    std::size_t end = last;
    for (std::size_t i = last + 1; i < siblings.size(); ++i) {
        const ElementPtr element = asElement(siblings[i]);
        if (element && test.allowed(element) && links.targetsIn(element) >= kNoteTargets) {
            end = i;
        }
    }
    return end;
}

}  // namespace

ElementPtr wholeTable(const ElementPtr& element) {
    if (!element) {
        return nullptr;
    }
    const std::wstring tag = lowerText(element->tagName());
    const ElementPtr parent = element->parentElement();
    if ((tag == L"tbody" || tag == L"thead" || tag == L"tfoot") && parent &&
        lowerText(parent->tagName()) == L"table") {
        return parent;
    }
    return element;
}

std::vector<NodePtr> storyBlocks(const ElementPtr& found, const GrabRules& rules) {
    if (!found) {
        return {};
    }
    const ElementPtr wrapper = outermostWrapper(wholeTable(found));
    if (!wrapper->parentElement()) {
        return {found};
    }
    StoryTest test(found, wrapper, rules);
    const ElementPtr chosen = partsLevel(wrapper, test);
    const auto& siblings = chosen->parentElement()->childNodes();
    std::size_t first = siblings.size();
    std::size_t last = 0;
    bool opening = true;
    for (std::size_t i = 0; i < siblings.size(); ++i) {
        const ElementPtr element = asElement(siblings[i]);
        opening = opening && element != chosen;
        if (element && (element == chosen || test.continues(element, chosen, opening))) {
            first = std::min(first, i);
            last = i;
        }
    }
    if (first < siblings.size()) {
        last = notesEnd(siblings, first, last, test);
    }
    std::vector<NodePtr> story;
    for (std::size_t i = first; i <= last && i < siblings.size(); ++i) {
        const ElementPtr element = asElement(siblings[i]);
        if (element ? element == chosen || (test.allowed(element) && !besideColumn(element, chosen))
                    : siblings[i]->nodeType() == dom::NodeType::Text) {
            story.push_back(siblings[i]);
        }
    }
    if (const ElementPtr heading = openingHeading(story, rules)) {
        story.insert(story.begin(), heading);
    }
    return story;
}

}  // namespace addon
