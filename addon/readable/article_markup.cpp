#include "addon/readable/article_markup.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "addon/page/text_case.h"
#include "addon/readable/blocks/contents_list.h"
#include "addon/readable/blocks/form_fields.h"
#include "addon/readable/blocks/link_share.h"
#include "addon/readable/blocks/page_controls.h"
#include "addon/readable/blocks/shown_blocks.h"
#include "addon/readable/blocks/title_heading.h"
#include "addon/readable/main_element.h"
#include "addon/readable/name_ranks.h"
#include "addon/readable/readable_scorer.h"
#include "addon/readable/story_blocks.h"

namespace addon {
namespace {

// The elements of a block, itself first, in page order; a copy lists its elements in the
// same order as the block it was copied from.
std::vector<ElementPtr> elementsOf(const NodePtr& block) {
    const ElementPtr element = asElement(block);
    if (!element) {
        return {};
    }
    std::vector<ElementPtr> elements{element};
    const auto below = element->all();
    elements.insert(elements.end(), below.begin(), below.end());
    return elements;
}

// The tags of blocks that hold lists of links when their text is mostly link text;
// paragraphs and phrases are the story's own.
bool isListTag(const dom::Element& element) {
    static constexpr std::array<std::wstring_view, 10> kTags = {
        L"ul", L"ol", L"dl", L"table", L"div", L"section", L"aside", L"nav", L"header", L"footer"};
    const std::wstring tag = lowerText(element.tagName());
    return std::find(kTags.begin(), kTags.end(), tag) != kTags.end();
}

// Whether the heading is a subheading of the story: a level-two to six heading, or a
// level-one heading that follows a paragraph of the story (pages that set every section's
// heading as H1 do so; the page's own heading opens its block).
bool isSubheading(const ElementPtr& heading) {
    if (!isHeadingTag(*heading)) {
        return false;
    }
    if (lowerText(heading->tagName()) != L"h1") {
        return true;
    }
    for (NodePtr before = heading->previousSibling(); before; before = before->previousSibling()) {
        const ElementPtr element = asElement(before);
        if (element && lowerText(element->tagName()) == L"p" &&
            !trimSpace(element->innerText()).empty()) {
            return true;
        }
    }
    return false;
}

// Whether the element is a list that a paragraph or a subheading of the story introduces
// ("These apps ...:"): the story's own list, links or not. A list of other stories under
// its own heading stands in a block of its own, which is a list of links itself.
bool isIntroducedList(const ElementPtr& element) {
    const std::wstring tag = lowerText(element->tagName());
    if (tag != L"ul" && tag != L"ol" && tag != L"dl") {
        return false;
    }
    for (NodePtr before = element->previousSibling(); before; before = before->previousSibling()) {
        if (const ElementPtr introduction = asElement(before)) {
            const bool introduces =
                lowerText(introduction->tagName()) == L"p" || isSubheading(introduction);
            return introduces && !trimSpace(introduction->innerText()).empty();
        }
        if (!trimSpace(before->nodeValue()).empty()) {
            return true;
        }
    }
    return false;
}

// Whether the element is one link set alone in a block of a table's cell: the cell's datum
// (the name of an app in a table of apps and their sizes), not a list.
bool isLinkedDatum(const ElementPtr& element) {
    return element->getElementsByTagName(L"A").size() < 2 && insideTagged(*element, {L"td", L"th"});
}

// A list of links: menus, other stories, tags, a table of navigation. A block holding the
// page's heading stays, and so does a list that a paragraph introduces, and a table cell's
// linked datum.
bool isLinkList(const ElementPtr& element) {
    if (!isListTag(*element) || !element->getElementsByTagName(L"H1").empty() ||
        isIntroducedList(element) || isLinkedDatum(element) || isTableOfContents(element)) {
        return false;
    }
    const std::size_t length = trimSpace(element->innerText()).size();
    return length > 0 && linkShare(element, length) > kLinkListShare;
}

// Whether the page hides the element from readers that speak the page (aria-hidden): an
// icon's letters, a picture's second caption, a decoration. It is no text of the story.
bool hiddenFromReaders(const dom::Element& element) {
    return lowerText(trimSpace(element.getAttribute(L"aria-hidden").value_or(L""))) == L"true";
}

// Whether the element is a label laid over a picture: a block of short text placed
// absolutely beside a picture in the same block, such as the labels of a chart drawn as a
// picture (its axes, values and title) or a badge on a photograph. Apart from the picture it
// reads as a run of numbers.
// The position is asked first: few blocks are placed absolutely, and looking for pictures
// walks the whole parent.
bool isLabelOverPicture(const ElementPtr& element) {
    if (currentStyleValue(element, L"position").value_or(L"") != L"absolute") {
        return false;
    }
    const std::size_t length = trimSpace(element->innerText()).size();
    const ElementPtr parent = element->parentElement();
    return length > 0 && length <= kPictureLabelText && parent &&
           !parent->getElementsByTagName(L"IMG").empty() &&
           element->getElementsByTagName(L"IMG").empty();
}

// Whether the element is the story's footer: the line on its printed edition, its tags, links
// to reprints and to share it. A quotation's or a figure's footer names its source and stays.
bool isStoryFooter(const dom::Element& element) {
    return lowerText(element.tagName()) == L"footer" &&
           !insideTagged(element, {L"blockquote", L"figure"});
}

// Whether the element is a paragraph with text: the story has begun once one has passed.
bool isParagraphOfText(const dom::Element& element) {
    return lowerText(element.tagName()) == L"p" && !trimSpace(element.innerText()).empty();
}

// The clean-up of the story's blocks, one after the other in page order.
class StoryCleanup {
  public:
    StoryCleanup(ElementPtr chosen, const GrabRules& rules)
        : chosen_(std::move(chosen)), rules_(rules) {}

    // Removes from the copy what is hidden (or hidden from readers), a label over a
    // picture, clutter by its names, a list of links, a form or the story's footer in the
    // block it was copied from, and a byline above the story's first paragraph (one below
    // it, a note on the author, is the story's). The chosen block and the blocks around it
    // stay whatever their names say: the finders took them for the article.
    void clean(const NodePtr& block, const NodePtr& copy) {
        const auto originals = elementsOf(block);
        const auto copies = elementsOf(copy);
        if (originals.empty() || originals.size() != copies.size()) {
            return;
        }
        const FormBlocks forms(originals.front());
        ElementPtr removed;
        for (std::size_t i = 0; i < originals.size(); ++i) {
            // In page order, the elements inside a removed block follow it.
            if (removed && removed->contains(*originals[i])) {
                continue;
            }
            if (!originals[i]->contains(*chosen_) && isClutter(originals[i], forms)) {
                copies[i]->removeNode(true);
                removed = originals[i];
            } else if (!storyBegun_ && isParagraphOfText(*originals[i])) {
                storyBegun_ = true;
            }
        }
    }

  private:
    bool isClutter(const ElementPtr& element, const FormBlocks& forms) {
        return hidden_.hidden(element) || hiddenFromReaders(*element) ||
               isLabelOverPicture(element) || isClutterByName(*element, rules_) ||
               isLinkList(element) || forms.isForm(*element) || isCaptchaNotice(*element) ||
               isStoryFooter(*element) || isScriptLink(*element) || isSlideCounter(*element) ||
               isShareBar(*element) || (!storyBegun_ && isBylineByName(*element));
    }

    ElementPtr chosen_;
    const GrabRules& rules_;
    ShownBlocks hidden_;
    bool storyBegun_ = false;
};

// Whether the element shows something beside text: a picture, a drawing, a player.
bool isMedia(const dom::Element& element) {
    static constexpr std::array<std::wstring_view, 8> kTags = {
        L"img", L"picture", L"svg", L"video", L"audio", L"canvas", L"math", L"table"};
    const std::wstring tag = lowerText(element.tagName());
    return std::find(kTags.begin(), kTags.end(), tag) != kTags.end();
}

// Whether a cleaned figure shows nothing but its caption: its picture was a player in an
// inline frame, or stood only in a NOSCRIPT for a script to show, and both are gone.
bool isCaptionAlone(const ElementPtr& figure) {
    for (const NodePtr& child : figure->childNodes()) {
        if (child->nodeType() == dom::NodeType::Text) {
            if (!trimSpace(child->nodeValue()).empty()) {
                return false;
            }
            continue;
        }
        const ElementPtr element = asElement(child);
        if (!element) {
            continue;
        }
        if (lowerText(element->tagName()) == L"figcaption") {
            continue;
        }
        if (isMedia(*element) || !trimSpace(element->innerText()).empty()) {
            return false;
        }
        for (const auto& below : element->all()) {
            if (isMedia(*below)) {
                return false;
            }
        }
    }
    return true;
}

// Removes the figures of the cleaned copy that show nothing but their caption.
void removeCaptionsAlone(const ElementPtr& copy) {
    const auto figures = copy->getElementsByTagName(L"FIGURE");
    for (auto it = figures.rbegin(); it != figures.rend(); ++it) {
        if (isCaptionAlone(*it)) {
            (*it)->removeNode(true);
        }
    }
}

// Removes the story's first heading (H1 or H2) from the cleaned copy when it repeats the
// page's title (title_heading.h): the readable page's header shows the title already. A
// later heading is a section's, whatever its words.
void removeTitleHeading(const ElementPtr& copy, const std::wstring& title) {
    for (const ElementPtr& element : copy->all()) {
        const std::wstring tag = lowerText(element->tagName());
        if (tag == L"h1" || tag == L"h2") {
            if (repeatsTitle(element->innerText(), title)) {
                element->removeNode(true);
            }
            return;
        }
    }
}

}  // namespace

std::wstring articleMarkup(const ElementPtr& body, const GrabRules& rules) {
    return articleMarkupOf(findArticleElement(body, rules), rules);
}

std::wstring articleMarkupOf(const ElementPtr& chosen, const GrabRules& rules) {
    const auto document = chosen ? chosen->ownerDocument() : nullptr;
    if (!document) {
        return L"";
    }
    // The story's blocks in a plain block of their own: their parent may be the body.
    const ElementPtr copy = document->createElement(L"div");
    StoryCleanup cleanup(chosen, rules);
    for (const NodePtr& block : storyBlocks(chosen, rules)) {
        cleanup.clean(block, copy->appendChild(block->cloneNode(true)));
    }
    cleanElement(copy, rules);
    removeCaptionsAlone(copy);
    removeTitleHeading(copy, document->title());
    return copy->outerHTML();
}

}  // namespace addon
