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

bool holdsOnlyElementsAndSpaces(const Element& cell) {
    bool elements = false;
    for (const auto& child : cell.childNodes()) {
        if (child->nodeType() == NodeType::Element)
            elements = true;
        else if (child->nodeType() == NodeType::Text) {
            for (wchar_t c : child->nodeValue())
                if (!platform::text::isHtmlSpace(c))
                    return false;
        }
    }
    return elements;
}

bool takesTheQuirk(const Element& cell) {
    if (!cell.hasTag(L"TD") && !cell.hasTag(L"TH"))
        return false;
    const auto document = cell.ownerDocument();
    return document && document->keepsQuirks() && holdsOnlyElementsAndSpaces(cell) &&
           passesOnUnchanged(cell.currentStyle()->value(PropertyId::LineHeight));
}

}  // namespace

std::string lineHeightQuirk(const Element& element) {
    if (takesTheQuirk(element))
        return "line-height:0;";
    const auto parent = element.parentElement();
    if (!parent || !takesTheQuirk(*parent))
        return {};
    return "line-height:" +
           platform::text::toUtf8(parent->currentStyle()->value(PropertyId::LineHeight)) + ";";
}

}  // namespace platform::dom
