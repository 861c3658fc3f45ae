#include "addon/readable/story_blocks.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "addon/page/text_case.h"
#include "addon/readable/blocks/link_share.h"
#include "addon/readable/blocks/note_links.h"
#include "addon/readable/blocks/shown_blocks.h"
#include "addon/readable/blocks/story_forms.h"
#include "addon/readable/name_ranks.h"
#include "addon/readable/opening_heading.h"
#include "addon/readable/readable_scorer.h"

namespace addon {
namespace {

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

    // Whether the sibling of `block` carries the story on by itself. A short sentence does
    // only `besideStory`: right after a block of the story or right before the chosen one.
    bool continues(const ElementPtr& sibling, const ElementPtr& block, bool opening = false,
                   bool besideStory = false) {
        if (!allowed(sibling)) {
            return false;
        }
        const std::wstring text = trimSpace(sibling->innerText());
        const std::size_t length = text.size();
        if (length == 0 || linkShare(sibling, length) > kSiblingLinkShare ||
            besideColumn(sibling, block)) {
            return false;
        }
        if (besideStory && isSentence(sibling, text)) {
            return true;
        }
        if (isParagraphLike(sibling) || isSectionLike(sibling) ||
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

// Pictures and their captions belong to the part they stand beside.
bool isPicture(const ElementPtr& element) {
    const std::wstring tag = lowerText(element->tagName());
    return tag == L"figure" || tag == L"figcaption" || tag == L"picture" || tag == L"img";
}

// The highest block above the chosen one that holds no other text: a story part is often
// wrapped alone in a block of its own, and the parts continue beside the outermost
// wrapper.
ElementPtr outermostWrapper(ElementPtr block) {
    for (ElementPtr parent = block->parentElement(); parent && !isPageElement(*parent);
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
        if (!parent || isPageElement(*block) || !test.allowed(block)) {
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

// Which of the siblings are elements that hold text, and which of those stands right before
// `chosen` (siblings.size() when none does).
std::pair<std::vector<bool>, std::size_t> shownElements(const std::vector<NodePtr>& siblings,
                                                        const ElementPtr& chosen) {
    std::vector<bool> shown(siblings.size(), false);
    std::size_t beforeChosen = siblings.size();
    std::size_t lastShown = siblings.size();
    for (std::size_t i = 0; i < siblings.size(); ++i) {
        const ElementPtr element = asElement(siblings[i]);
        if (element == chosen) {
            beforeChosen = lastShown;
        }
        shown[i] = element && (element == chosen || !trimSpace(element->innerText()).empty());
        lastShown = shown[i] ? i : lastShown;
    }
    return {std::move(shown), beforeChosen};
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
    const auto [shown, beforeChosen] = shownElements(siblings, chosen);
    bool opening = true;
    bool afterStory = false;
    for (std::size_t i = 0; i < siblings.size(); ++i) {
        if (!shown[i]) {
            continue;
        }
        const ElementPtr element = asElement(siblings[i]);
        opening = opening && element != chosen;
        const bool besideStory = afterStory || i == beforeChosen;
        afterStory = element == chosen || test.continues(element, chosen, opening, besideStory);
        if (afterStory) {
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
