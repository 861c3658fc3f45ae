// The markup members of Element: innerHTML, outerHTML, innerText, insertAdjacent*.
#include <algorithm>

#include "platform/dom/document.h"
#include "platform/dom/element.h"
#include "platform/dom/html_parser.h"
#include "platform/dom/html_serializer.h"
#include "platform/dom/inner_text.h"
#include "platform/dom/tag_names.h"
#include "platform/dom/text_range.h"
#include "platform/text/utf.h"

namespace platform::dom {

namespace {

enum class Position { BeforeBegin, AfterBegin, BeforeEnd, AfterEnd, Unknown };

Position parsePosition(std::wstring_view where) {
    if (equalsIgnoringCase(where, L"beforeBegin"))
        return Position::BeforeBegin;
    if (equalsIgnoringCase(where, L"afterBegin"))
        return Position::AfterBegin;
    if (equalsIgnoringCase(where, L"beforeEnd"))
        return Position::BeforeEnd;
    if (equalsIgnoringCase(where, L"afterEnd"))
        return Position::AfterEnd;
    return Position::Unknown;
}

// Inserts `node` at `position` relative to `element`; false when the position has no place.
bool insertAtPosition(Element& element, Position position, const std::shared_ptr<Node>& node) {
    auto parent = element.parentNode();
    switch (position) {
        case Position::BeforeBegin:
            if (!parent)
                return false;
            parent->insertBefore(node, element.shared_from_this());
            return true;
        case Position::AfterBegin:
            element.insertBefore(node, element.firstChild());
            return true;
        case Position::BeforeEnd:
            element.appendChild(node);
            return true;
        case Position::AfterEnd:
            if (!parent)
                return false;
            parent->insertBefore(node, element.nextSibling());
            return true;
        case Position::Unknown:
            return false;
    }
    return false;
}

}  // namespace

std::wstring Element::innerHTML() const {
    std::wstring out;
    writeInnerHtml(out, *this);
    return out;
}

void Element::setInnerHTML(std::wstring_view html) {
    auto nodes = HtmlTreeBuilder::parseFragment(*this, platform::text::toUtf8(html));
    while (!childNodes().empty())
        removeChild(childNodes().back());
    for (auto& node : nodes)
        appendChild(node);
}

std::wstring Element::outerHTML() const {
    std::wstring out;
    writeOuterHtml(out, *this);
    return out;
}

std::shared_ptr<TextRange> Element::createTextRange() const {
    auto self =
        std::static_pointer_cast<Element>(std::const_pointer_cast<Node>(shared_from_this()));
    auto range = std::make_shared<TextRange>(ownerDocument(), BoundaryPoint{self, 0},
                                             BoundaryPoint{self, childNodes().size()});
    return range;
}

std::wstring Element::innerText() const {
    return renderedText(*this);
}

bool Element::innerTextReaches(std::size_t count) const {
    return renderedTextReaches(*this, count);
}

void Element::setInnerText(std::wstring text) {
    while (!childNodes().empty())
        removeChild(childNodes().back());
    if (!text.empty())
        appendChild(std::make_shared<Text>(ownerDocument(), std::move(text)));
}

std::shared_ptr<Element> Element::insertAdjacentElement(std::wstring_view where,
                                                        std::shared_ptr<Element> element) {
    if (!element)
        return nullptr;
    return insertAtPosition(*this, parsePosition(where), element) ? element : nullptr;
}

bool Element::insertAdjacentHTML(std::wstring_view where, std::wstring_view html) {
    Position position = parsePosition(where);
    if (position == Position::Unknown)
        return false;
    bool outside = position == Position::BeforeBegin || position == Position::AfterEnd;
    auto context =
        outside
            ? parentElement()
            : std::static_pointer_cast<Element>(std::const_pointer_cast<Node>(shared_from_this()));
    if (!context)
        return false;
    auto nodes = HtmlTreeBuilder::parseFragment(*context, platform::text::toUtf8(html));
    if (position == Position::AfterBegin || position == Position::AfterEnd)
        std::reverse(nodes.begin(), nodes.end());
    for (auto& node : nodes)
        if (!insertAtPosition(*this, position, node))
            return false;
    return true;
}

}  // namespace platform::dom
