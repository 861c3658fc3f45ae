// The geometry members of Element, derived from the document's boxes.
#include <algorithm>

#include "platform/dom/document.h"
#include "platform/dom/element.h"
#include "platform/dom/layout_engine.h"
#include "platform/dom/style/cascade.h"
#include "platform/dom/style/css_values.h"
#include "platform/dom/window.h"

namespace platform::dom {

namespace {

constexpr int kScrollBarWidth = 17;

bool isRootElement(const Element& element) {
    return element.hasTag(L"HTML") || element.hasTag(L"BODY");
}

// Document coordinates to client coordinates for this element.
Point clientShift(const Document& document, const Element& element) {
    Point scroll = document.parentWindow().scrollPosition();
    Point ancestors = document.ancestorScroll(element);
    return {scroll.x + ancestors.x, scroll.y + ancestors.y};
}

bool isInline(const Element& element) {
    auto style = element.currentStyle();
    return style && style->value(PropertyId::Display) == L"inline";
}

}  // namespace

std::optional<Rect> Element::getBoundingClientRect() const {
    auto document = ownerDocument();
    if (!document)
        return std::nullopt;
    auto box = document->boxOf(*this);
    if (!box)
        return std::nullopt;
    Point shift = clientShift(*document, *this);
    return box->translated(-shift.x, -shift.y);
}

std::vector<Rect> Element::getClientRects() const {
    auto document = ownerDocument();
    if (!document)
        return {};
    auto rects = document->clientRectsOf(*this);
    Point shift = clientShift(*document, *this);
    for (auto& rect : rects)
        rect = rect.translated(-shift.x, -shift.y);
    return rects;
}

std::shared_ptr<Element> Element::offsetParent() const {
    if (hasTag(L"BODY") || hasTag(L"HTML"))
        return nullptr;
    for (auto parent = parentElement(); parent; parent = parent->parentElement()) {
        if (parent->hasTag(L"BODY") || parent->hasTag(L"TD") || parent->hasTag(L"TH") ||
            parent->hasTag(L"TABLE"))
            return parent;
        auto style = parent->currentStyle();
        if (style && style->value(PropertyId::Position) != L"static")
            return parent;
    }
    return nullptr;
}

namespace {

// The element's border box relative to its offset parent's padding box (to the page for
// the body).
Point offsetOf(const Element& element) {
    auto document = element.ownerDocument();
    auto box = document ? document->boxOf(element) : std::nullopt;
    if (!box)
        return {};
    auto parent = element.offsetParent();
    auto parentBox = parent && !parent->hasTag(L"BODY") ? document->boxOf(*parent) : std::nullopt;
    if (!parentBox)
        return {box->left, box->top};
    return {box->left - parentBox->left - parent->clientLeft(),
            box->top - parentBox->top - parent->clientTop()};
}

}  // namespace

int Element::offsetLeft() const {
    return offsetOf(*this).x;
}
int Element::offsetTop() const {
    return offsetOf(*this).y;
}

int Element::offsetWidth() const {
    auto document = ownerDocument();
    auto box = document ? document->boxOf(*this) : std::nullopt;
    return box ? box->width() : 0;
}

int Element::offsetHeight() const {
    auto document = ownerDocument();
    auto box = document ? document->boxOf(*this) : std::nullopt;
    return box ? box->height() : 0;
}

int Element::clientLeft() const {
    auto style = currentStyle();
    return style && !isInline(*this) ? borderPixels(*style, BoxSide::Left) : 0;
}

int Element::clientTop() const {
    auto style = currentStyle();
    return style && !isInline(*this) ? borderPixels(*style, BoxSide::Top) : 0;
}

int Element::clientWidth() const {
    auto document = ownerDocument();
    if (!document)
        return 0;
    if (isRootElement(*this))
        return document->parentWindow().innerWidth();
    if (isInline(*this))
        return 0;
    auto style = currentStyle();
    return std::max(0, offsetWidth() - borderPixels(*style, BoxSide::Left) -
                           borderPixels(*style, BoxSide::Right));
}

int Element::clientHeight() const {
    auto document = ownerDocument();
    if (!document)
        return 0;
    if (isRootElement(*this))
        return document->parentWindow().innerHeight();
    if (isInline(*this))
        return 0;
    auto style = currentStyle();
    return std::max(0, offsetHeight() - borderPixels(*style, BoxSide::Top) -
                           borderPixels(*style, BoxSide::Bottom));
}

namespace {

// How far the content below the element reaches beyond its padding box's top-left.
Size contentExtent(const Element& element) {
    auto document = element.ownerDocument();
    auto box = document ? document->boxOf(element) : std::nullopt;
    if (!box)
        return {};
    Rect extent = *box;
    for (const auto& child : element.all())
        if (auto childBox = document->boxOf(*child))
            extent = extent.united(*childBox);
    return {extent.right - box->left - element.clientLeft(),
            extent.bottom - box->top - element.clientTop()};
}

}  // namespace

int Element::scrollWidth() const {
    auto document = ownerDocument();
    if (!document)
        return 0;
    if (isRootElement(*this))
        return std::max(document->layout().contentSize().width,
                        document->parentWindow().innerWidth());
    return std::max(clientWidth(), contentExtent(*this).width);
}

int Element::scrollHeight() const {
    auto document = ownerDocument();
    if (!document)
        return 0;
    if (isRootElement(*this))
        return std::max(document->layout().contentSize().height,
                        document->parentWindow().innerHeight());
    return std::max(clientHeight(), contentExtent(*this).height);
}

int Element::scrollLeft() const {
    auto document = ownerDocument();
    if (!document)
        return 0;
    if (isRootElement(*this))
        return document->parentWindow().scrollPosition().x;
    return document->elementScrollOf(*this).x;
}

int Element::scrollTop() const {
    auto document = ownerDocument();
    if (!document)
        return 0;
    if (isRootElement(*this))
        return document->parentWindow().scrollPosition().y;
    return document->elementScrollOf(*this).y;
}

void Element::setScrollLeft(int value) {
    scrollTo(value, scrollTop());
}
void Element::setScrollTop(int value) {
    scrollTo(scrollLeft(), value);
}

void Element::scrollTo(int x, int y) {
    auto document = ownerDocument();
    if (!document)
        return;
    if (isRootElement(*this)) {
        document->parentWindow().scrollTo(x, y);
        return;
    }
    Point clamped{std::clamp(x, 0, std::max(0, scrollWidth() - clientWidth())),
                  std::clamp(y, 0, std::max(0, scrollHeight() - clientHeight()))};
    document->setElementScroll(
        std::static_pointer_cast<Element>(std::const_pointer_cast<Node>(shared_from_this())),
        clamped);
}

std::wstring Element::componentFromPoint(int clientX, int clientY) const {
    auto document = ownerDocument();
    if (!document)
        return L"outside";
    Point point{clientX, clientY};
    if (isRootElement(*this)) {
        Size viewport = document->parentWindow().viewport();
        if (clientX < 0 || clientY < 0 || clientX >= viewport.width || clientY >= viewport.height)
            return L"outside";
        if (scrollHeight() > viewport.height && clientX >= viewport.width - kScrollBarWidth)
            return L"scrollbarVThumb";
        if (scrollWidth() > viewport.width && clientY >= viewport.height - kScrollBarWidth)
            return L"scrollbarHThumb";
        return L"";
    }
    auto box = getBoundingClientRect();
    if (!box || !box->contains(point))
        return L"outside";
    auto style = currentStyle();
    std::wstring overflow = style->value(PropertyId::Overflow);
    bool scrolls = overflow == L"scroll" || overflow == L"auto";
    int innerRight = box->right - borderPixels(*style, BoxSide::Right);
    int innerBottom = box->bottom - borderPixels(*style, BoxSide::Bottom);
    if (scrolls && (overflow == L"scroll" || scrollHeight() > clientHeight()) &&
        clientX >= innerRight - kScrollBarWidth && clientX < innerRight)
        return L"scrollbarVThumb";
    if (scrolls && (overflow == L"scroll" || scrollWidth() > clientWidth()) &&
        clientY >= innerBottom - kScrollBarWidth && clientY < innerBottom)
        return L"scrollbarHThumb";
    return L"";
}

void Element::setCapture() {
    if (auto document = ownerDocument())
        document->capture_ = std::static_pointer_cast<Element>(shared_from_this());
}

void Element::releaseCapture() {
    auto document = ownerDocument();
    if (document && document->captureElement().get() == this)
        document->releaseCapture();
}

}  // namespace platform::dom
