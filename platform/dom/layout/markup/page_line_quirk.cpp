#include "platform/dom/layout/markup/page_line_quirk.h"

#include <cwctype>

#include "platform/dom/document.h"
#include "platform/dom/element.h"
#include "platform/dom/inner_text.h"
#include "platform/dom/style/cascade.h"
#include "platform/text/html_space.h"
#include "platform/text/utf.h"

namespace platform::dom {

namespace {

// A line height that means the same on a child as inherited from its parent: "normal", a
// plain number or pixels (a percentage or an em would be taken against the child's font).
bool passesOnUnchanged(const std::wstring& value) {
    if (value == L"normal")
        return true;
    std::wstring_view number = value;
    if (number.ends_with(L"px"))
        number.remove_suffix(2);
    if (number.empty())
        return false;
    for (wchar_t c : number)
        if (!std::iswdigit(c) && c != L'.')
            return false;
    return true;
}

// Whether the element's lines hold elements alone: no text but spaces, and at least one
// inline-level element. A block of blocks alone has no lines of its own, so the quirk has
// nothing to act on there; written out, it would hand its children a line height of 0 to
// inherit wherever a page's sheet says "line-height: inherit" (a readable page's paragraphs
// would lay every line over the first).
bool linesHoldOnlyElements(const Element& element) {
    bool inlineElements = false;
    for (const auto& child : element.childNodes()) {
        if (child->nodeType() == NodeType::Element) {
            if (!inlineElements)
                inlineElements = static_cast<const Element&>(*child)
                                     .currentStyle()
                                     ->value(PropertyId::Display)
                                     .starts_with(L"inline");
        } else if (child->nodeType() == NodeType::Text) {
            for (wchar_t c : child->nodeValue())
                if (!platform::text::isHtmlSpace(c))
                    return false;
        }
    }
    return inlineElements;
}

// Blocks and cells have lines of their own; an inline element inside such a line that holds
// no text either adds nothing of its own line height to it.
bool takesTheQuirk(const Element& element) {
    const auto document = element.ownerDocument();
    if (!document || !document->keepsQuirks())
        return false;
    const auto style = element.currentStyle();
    if (!element.hasTag(L"TD") && !element.hasTag(L"TH")) {
        const std::wstring display = style->value(PropertyId::Display);
        if (display == L"inline") {
            const auto parent = element.parentElement();
            if (!parent || !takesTheQuirk(*parent))
                return false;
        } else if (display != L"block") {
            return false;
        }
    }
    return passesOnUnchanged(style->value(PropertyId::LineHeight)) &&
           linesHoldOnlyElements(element);
}

// A line of pictures alone is as tall as they are, without room for descenders below them:
// they stand on the bottom of the line.
bool holdsOnlyPictures(const Element& element) {
    for (const auto& child : element.childNodes())
        if (child->nodeType() == NodeType::Element &&
            !static_cast<const Element&>(*child).hasTag(L"IMG"))
            return false;
    return true;
}

}  // namespace

std::string lineHeightQuirk(const Element& element) {
    if (takesTheQuirk(element))
        return "line-height:0;";
    const auto parent = element.parentElement();
    if (!parent || !takesTheQuirk(*parent))
        return {};
    std::string declarations =
        "line-height:" +
        platform::text::toUtf8(parent->currentStyle()->value(PropertyId::LineHeight)) + ";";
    if (element.hasTag(L"IMG") && holdsOnlyPictures(*parent) &&
        element.currentStyle()->value(PropertyId::VerticalAlign) == L"baseline")
        declarations += "vertical-align:bottom;";
    return declarations;
}

}  // namespace platform::dom
