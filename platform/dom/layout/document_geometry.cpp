// The geometry members of Document: layout on demand, explicit boxes, hit testing.
#include <tuple>

#include "platform/dom/document.h"
#include "platform/dom/layout/hit_index.h"
#include "platform/dom/layout/page_layout.h"
#include "platform/dom/style/cascade.h"
#include "platform/dom/window.h"

namespace platform::dom {

Window& Document::parentWindow() const {
    return *window_;
}

void Document::setLayoutEngine(std::unique_ptr<LayoutEngine> engine) {
    if (!engine)
        return;
    layout_ = std::move(engine);
    layoutVersion_ = 0;
}

const LayoutEngine& Document::layout() const {
    if (layoutVersion_ != version_ || layoutViewport_ != window_->viewport()) {
        layout_->layout(*this, window_->viewport());
        ++layoutPasses_;
        layoutVersion_ = version_;
        layoutViewport_ = window_->viewport();
    }
    return *layout_;
}

void Document::recalc(bool force) {
    if (force)
        layoutVersion_ = 0;
    layout();
}

void Document::relayoutIfOutdated() {
    if (layoutVersion_ != 0 && layout_->outdated())
        recalc(true);
}

void Document::settleLayout() {
    layout();
    layout_->settle();
    relayoutIfOutdated();
}

void Document::setExplicitBox(const std::shared_ptr<Element>& element, Rect box) {
    if (!element)
        return;
    explicitBoxes_[element.get()] = {element, box};
    ++boxOverrides_;
}

void Document::clearExplicitBox(const Element& element) {
    if (explicitBoxes_.erase(&element) > 0)
        ++boxOverrides_;
}

namespace {

// The value stored for `element`, when it is still that element (not a new one at the
// address of a released one).
template <typename Map>
const Rect* storedFor(const Map& map, const Element& element) {
    auto it = map.find(&element);
    if (it == map.end() || it->second.element.lock().get() != &element)
        return nullptr;
    return &it->second.rect;
}

bool isInTree(const Document& document, const Element& element) {
    return element.ownerDocument().get() == &document && document.contains(element);
}

}  // namespace

std::optional<Rect> Document::boxOf(const Element& element) const {
    if (const Rect* box = storedFor(explicitBoxes_, element))
        return *box;
    if (!isInTree(*this, element))
        return std::nullopt;
    return layout().borderBox(element);
}

std::vector<Rect> Document::clientRectsOf(const Element& element) const {
    if (const Rect* box = storedFor(explicitBoxes_, element))
        return {*box};
    if (!isInTree(*this, element))
        return {};
    return layout().clientRects(element);
}

Point Document::ancestorScroll(const Element& element) const {
    Point sum;
    if (elementScroll_.empty())
        return sum;
    for (auto parent = element.parentElement(); parent; parent = parent->parentElement()) {
        if (parent->hasTag(L"HTML") || parent->hasTag(L"BODY"))
            continue;
        if (const Rect* offset = storedFor(elementScroll_, *parent)) {
            sum.x += offset->left;
            sum.y += offset->top;
        }
    }
    return sum;
}

Point Document::elementScrollOf(const Element& element) const {
    const Rect* offset = storedFor(elementScroll_, element);
    return offset ? Point{offset->left, offset->top} : Point{};
}

void Document::setElementScroll(const std::shared_ptr<Element>& element, Point offset) {
    elementScroll_[element.get()] = {element, {offset.x, offset.y, offset.x, offset.y}};
    ++boxOverrides_;
}

// The elements' client rectangles (scrolled), filed for elementFromPoint; valid for the
// layout pass and the box overrides it was built at.
struct Document::HitTest {
    HitIndex index;
    std::shared_ptr<const ElementList> elements;
    std::uint64_t layoutPass = ~std::uint64_t{0};
    std::uint64_t boxOverrides = 0;
};

const Document::HitTest& Document::hitTest() const {
    layout();
    if (!hitTest_)
        hitTest_ = std::make_shared<HitTest>();
    HitTest& hitTest = *hitTest_;
    if (hitTest.layoutPass == layoutPasses_ && hitTest.boxOverrides == boxOverrides_)
        return hitTest;
    hitTest.index.clear();
    hitTest.elements = all();
    const auto& elements = *hitTest.elements;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const Element& element = *elements[i];
        // Every listed element is in the tree: clientRectsOf without its check.
        const Rect* box = storedFor(explicitBoxes_, element);
        std::vector<Rect> rects = box ? std::vector<Rect>{*box} : layout_->clientRects(element);
        const Point shift = ancestorScroll(element);
        for (Rect& rect : rects)
            rect = rect.translated(-shift.x, -shift.y);
        hitTest.index.add(static_cast<std::uint32_t>(i), rects);
    }
    hitTest.layoutPass = layoutPasses_;
    hitTest.boxOverrides = boxOverrides_;
    return hitTest;
}

std::shared_ptr<Element> Document::elementFromPoint(int clientX, int clientY) const {
    Size viewport = window_->viewport();
    if (clientX < 0 || clientY < 0 || clientX >= viewport.width || clientY >= viewport.height)
        return nullptr;
    Point scroll = window_->scrollPosition();
    Point point{clientX + scroll.x, clientY + scroll.y};
    // Later elements paint over earlier ones; positioned ones over the flow, ordered by
    // their z-index. Boxes that let the pointer through ("pointer-events: none", such as
    // markers drawn over the page) are never the target: what lies under them is.
    const HitTest& hits = hitTest();
    const auto& elements = *hits.elements;
    std::shared_ptr<Element> best;
    std::tuple<long, int, int> bestOrder{0, 0, -1};
    for (std::uint32_t i : hits.index.itemsAt(point)) {
        const Element& element = *elements[i];
        auto style = element.currentStyle();
        if (style->value(PropertyId::Visibility) == L"hidden" ||
            style->value(PropertyId::PointerEvents) == L"none")
            continue;
        long z = 0;
        int layer = 0;
        for (const Element* e = &element; e; e = e->parentElement().get()) {
            auto own = e->currentStyle();
            if (own->value(PropertyId::Position) == L"static")
                continue;
            layer = 1;
            std::wstring zIndex = own->value(PropertyId::ZIndex);
            if (zIndex != L"auto") {
                z = std::wcstol(zIndex.c_str(), nullptr, 10);
                break;
            }
        }
        std::tuple<long, int, int> order{z, layer, static_cast<int>(i)};
        if (!best || order > bestOrder) {
            best = elements[i];
            bestOrder = order;
        }
    }
    return best ? best : documentElement();
}

}  // namespace platform::dom
