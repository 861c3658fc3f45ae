#include "addon/selection/clip_selection.h"

#include "common/language/language_table.h"

#include <algorithm>
#include <cstdlib>

#include "addon/page/dom_helpers.h"
#include "addon/page/layout_failure.h"
#include "addon/page/page_clean.h"
#include "addon/selection/highlight_menu.h"
#include "addon/selection/input_binding.h"
#include "addon/selection/rect_elements.h"
#include "addon/selection/settings.h"
#include "platform/ui/menu.h"
#include "platform/ui/presenter.h"

namespace addon {

using platform::com::DISP_E_MEMBERNOTFOUND;
using platform::com::HRESULT;
using platform::com::S_OK;

namespace {

constexpr int kNotHandled = 1;
constexpr int kHandled = 2;
constexpr int kHandledPassOn = 3;

const wchar_t* const kElemTracker = L"__idDivElemTracker";
const wchar_t* const kTextTracker = L"__idDivTextTracker";
const wchar_t* const kRectTracker = L"__idDivRectTracker";
const wchar_t* const kRectOverlay = L"__idDivRectOverlay";
const wchar_t* const kTextOverlay = L"__idDivTextOverlay";
const wchar_t* const kElemOverlay = L"__idDivElemOverlay";

const wchar_t* const kElemTrackerStyle = L"border:#ff9900 3px solid;z-index:2147483647 ;";
const wchar_t* const kTextTrackerStyle =
    L"background-color:#ffff00;filter:alpha(opacity=50);z-index:2147483647 ;";
const wchar_t* const kRectTrackerStyle = L"border:#0000ff 2px dotted;z-index:2147483647 ;";
const wchar_t* const kRectOverlayStyle =
    L"border:#ff9900 2px solid;background-color:#24c136;opacity=0.5;filter:alpha(opacity=50);"
    L"z-index:2147483647 ;";
const wchar_t* const kTextOverlayStyle =
    L"border-bottom:#0000ff 1px dotted;background-color:#ffff00;opacity=0.5;"
    L"filter:alpha(opacity=50);z-index:2147483647 ;";

bool startsWith(const std::wstring& text, const wchar_t* prefix) {
    return text.starts_with(prefix);
}

// Stops bubbling and the page's own handling; returnValue is the short integer 0 that
// the browser reads as "cancelled".
void cancel(dom::Event& event) {
    event.cancelBubble = true;
    event.returnValue = platform::com::Variant::fromI2(0);
}

std::int32_t modifiersOf(const dom::Event& event) {
    return (event.altKey ? kModifierAlt : 0) | (event.ctrlKey ? kModifierCtrl : 0) |
           (event.shiftKey ? kModifierShift : 0);
}

// Position of the element in the page, for sorting into document order; detached
// elements last.
std::size_t documentPosition(const ElementPtr& element) {
    const int index = element->sourceIndex();
    return index < 0 ? static_cast<std::size_t>(-1) : static_cast<std::size_t>(index);
}

}  // namespace

ClipSelection::ClipSelection(std::shared_ptr<dom::Document> document, SelectionHost& host)
    : overlays_(document), document_(std::move(document)), host_(host) {}

ClipSelection::~ClipSelection() {
    reset(true);
    overlays_.removeAll();
}

HRESULT ClipSelection::handleDocumentEvent(dom::Event& event) {
    if (event.type == L"contextmenu" && suppressContextMenu_) {
        suppressContextMenu_ = false;
        cancel(event);
        return S_OK;
    }
    if (event.type == L"contextmenu") {
        const int kind = classifyEventTarget(event);
        if ((kind == 5 || kind == 8 || kind == 11) && showHighlightMenu(event) == kHandled) {
            cancel(event);
            return S_OK;
        }
    }
    const std::wstring action = queryBoundAction(event);
    if (!action.empty()) {
        int result = dispatchOperator(action, event);
        if (startsWith(action, L"command-"))
            result = runCommand(action, false);
        if (result == kHandled) {
            if (event.type == L"mouseup" && event.button == 2)
                suppressContextMenu_ = true;
            cancel(event);
            return S_OK;
        }
        if (result == kHandledPassOn)
            return S_OK;
    }
    if ((event.type == L"keyup" || event.type == L"keydown") && !event.repeat) {
        trackTextOperator(event);
        trackRectOperator(event);
        trackElementOperator(event);
    }
    return DISP_E_MEMBERNOTFOUND;
}

int ClipSelection::dispatchOperator(const std::wstring& action, dom::Event& event) {
    const bool rectangles = readRightButtonSetting() != 0;
    if (startsWith(action, L"operator-track-elem"))
        return trackElementOperator(event);
    if (startsWith(action, L"operator-select-elem")) {
        if (host_.tickCount() - lastSelectTick_ > 100)
            return selectElementOperator(event);
        return kNotHandled;
    }
    if (rectangles && startsWith(action, L"operator-begin-rect"))
        return beginRectOperator(event);
    if (rectangles && startsWith(action, L"operator-track-rect"))
        return trackRectOperator(event);
    if (rectangles && startsWith(action, L"operator-select-rect"))
        return selectRectOperator(event);
    if (startsWith(action, L"operator-track-text"))
        return trackTextOperator(event);
    if (startsWith(action, L"operator-select-text"))
        return selectTextOperator(event);
    if (action == L"operator-mode-switch" || action == L"operator-mode-switch-quick") {
        requestMode(mode_ == kModeTrack ? kModeDefault : kModeTrack);
    } else if (action == L"operator-mode-default") {
        requestMode(kModeDefault);
    } else if (action == L"operator-mode-track") {
        requestMode(kModeTrack);
    } else if (action == L"operator-mode-rect") {
        requestMode(kModeRect);
    } else if (action == L"operator-mode-text") {
        requestMode(kModeText);
    } else if (action == L"operator-select-more") {
        return selectMore();
    } else if (action == L"operator-select-less") {
        return selectLess();
    }
    return kNotHandled;
}

HRESULT ClipSelection::handleWindowEvent(dom::Event& event) {
    if (event.type == L"resize") {
        // The page moved under the tracker: drop it with the rubber band's stale handle.
        clearTracking();
        showTrackerOverlays(false);
        showBlockOverlays(true);
    } else if (event.type == L"beforeprint") {
        clearTracking();
        showBlockOverlays(false);
    } else if (event.type == L"afterprint") {
        showBlockOverlays(true);
    }
    return DISP_E_MEMBERNOTFOUND;
}

int ClipSelection::runCommand(const std::wstring& command, bool noForward) {
    int result = kNotHandled;
    if (startsWith(command, L"command-select-text")) {
        result = selectTextSelection();
        if (result != kNotHandled)
            runCommand(L"command-toolbar-show2", false);
    } else if (command == L"command-cancel" && isDrawingRectangle()) {
        cancelRectangle();
        result = kHandled;
    }
    if (result == kNotHandled && !noForward)
        return host_.dispatchCommand(command);
    return result;
}

std::int32_t ClipSelection::setMode(std::int32_t mode) {
    if (mode == kModeDefault)
        clearTracking();
    const std::int32_t former = mode_;
    mode_ = mode;
    setCursor(L"");
    return former;
}

void ClipSelection::reset(bool clearMode) {
    clearTracking();
    clearSelection();
    removeRubberBand();
    startX_ = startY_ = width_ = height_ = -1;
    suppressContextMenu_ = false;
    if (clearMode)
        mode_ = kModeDefault;
    setCursor(L"");
}

void ClipSelection::clearTracking() {
    trackedOperator_.clear();
    for (auto& item : tracked_)
        unpaint(item);
    tracked_.clear();
}

void ClipSelection::clearSelection() {
    while (!selected_.empty()) {
        unpaint(selected_.front());
        selected_.erase(selected_.begin());
    }
}

std::size_t ClipSelection::removeSelectedItem(const SelectionItem& item) {
    const auto found = std::find(selected_.begin(), selected_.end(), item);
    if (found != selected_.end()) {
        unpaint(*found);
        selected_.erase(found);
    }
    return selected_.size();
}

int ClipSelection::cancelRectangle() {
    clearTracking();
    document_->releaseCapture();
    setCursor(L"");
    removeRubberBand();
    startX_ = startY_ = width_ = height_ = -1;
    return kHandledPassOn;
}

int ClipSelection::selectMore() {
    if (selected_.empty())
        return kHandled;
    showBlockOverlays(false);
    SelectionItem& last = selected_.back();
    if (last.growToParent()) {
        const SelectionItem grown = last;
        for (std::size_t i = selected_.size() - 1; i-- > 0;)
            if (grown.containsItem(selected_[i]))
                selected_.erase(selected_.begin() + i);
    }
    showBlockOverlays(true);
    return kHandled;
}

int ClipSelection::selectLess() {
    if (selected_.empty())
        return kHandled;
    showBlockOverlays(false);
    selected_.back().shrink();
    showBlockOverlays(true);
    return kHandled;
}

int ClipSelection::selectAuto(
    const std::function<SelectionItem(const ElementPtr& body)>& findArticle) {
    for (const auto& item : selected_)
        if (item.kind() == SelectionItem::kElements && !item.elements().empty())
            return kHandled;
    if (!findArticle)
        return kHandled;
    SelectionItem article = findArticle(document_->body());
    if (article.elements().empty())
        return kHandled;
    const OptionalRect rect = article.boundingRect(*document_);
    addToSelection(std::move(article), false);
    if (!rect)
        return kHandled;
    document_->parentWindow().scrollTo(scrollLeftOf(*document_), rect->y);
    const platform::ui::Rect view = host_.pageViewRect();
    const int left = view.left + rect->x - scrollLeftOf(*document_);
    const int top = view.top + rect->y - scrollTopOf(*document_);
    const int height = std::min(rect->height / 2, 300);
    host_.animateFrame(view, {left, top, left + rect->width, top + height}, 100);
    return kHandled;
}

std::size_t ClipSelection::addToSelection(SelectionItem item, bool replace) {
    lastSelectTick_ = host_.tickCount();
    if (selected_.size() == 1 && selected_.front() == item)
        return selected_.size();
    if (replace)
        clearSelection();
    if (std::find(selected_.begin(), selected_.end(), item) != selected_.end())
        return selected_.size();
    const OptionalRect bounds = item.boundingRect(*document_);
    for (std::size_t i = selected_.size(); i-- > 0;) {
        const OptionalRect inner = selected_[i].boundingRect(*document_);
        if (bounds && inner && bounds->contains(*inner)) {
            unpaint(selected_[i]);
            selected_.erase(selected_.begin() + i);
        }
    }
    const bool text = item.kind() == SelectionItem::kText;
    paint(item, text ? kTextOverlay : kRectOverlay, text ? kTextOverlayStyle : kRectOverlayStyle);
    selected_.push_back(std::move(item));
    runCommand(L"command-toolbar-show2", false);
    return selected_.size();
}

void ClipSelection::showTrackerOverlays(bool visible) {
    for (auto& item : tracked_)
        unpaint(item);
    removeRubberBand();
    if (!visible)
        return;
    for (auto& item : tracked_) {
        const bool text = item.kind() == SelectionItem::kText;
        paint(item, text ? kTextTracker : kElemTracker,
              text ? kTextTrackerStyle : kElemTrackerStyle);
    }
}

void ClipSelection::showBlockOverlays(bool visible) {
    for (auto& item : selected_)
        unpaint(item);
    if (!visible)
        return;
    for (auto& item : selected_) {
        const bool text = item.kind() == SelectionItem::kText;
        paint(item, text ? kTextOverlay : kRectOverlay,
              text ? kTextOverlayStyle : kRectOverlayStyle);
    }
}

std::vector<std::wstring> ClipSelection::getSelectedHtmlBlocks(bool inDocumentOrder) const {
    std::vector<ElementPtr> elements;
    for (const auto& item : selected_)
        elements.insert(elements.end(), item.elements().begin(), item.elements().end());
    if (inDocumentOrder) {
        std::stable_sort(elements.begin(), elements.end(), [&](const auto& a, const auto& b) {
            return documentPosition(a) < documentPosition(b);
        });
    }
    std::vector<std::wstring> blocks;
    for (const auto& element : elements)
        blocks.push_back(standaloneOuterHtml(element));
    return blocks;
}

std::wstring ClipSelection::getPageUrl() const {
    return document_->URL();
}

std::wstring ClipSelection::getPageTitle() const {
    return document_->title();
}

std::wstring ClipSelection::getPageMarkup(const std::wstring& baseUrl, int urlMask, int elementMask,
                                          int attributeMask) const {
    // The clean-up changes the tree it is given: a copy, never the page the user sees.
    const auto copy = std::static_pointer_cast<dom::Document>(document_->cloneNode(true));
    return cleanDocumentMarkup(*copy, baseUrl, urlMask, elementMask, attributeMask,
                               kMarkupDocument);
}

std::wstring ClipSelection::getPageText() const {
    return getInnerText(document_->body());
}

std::wstring ClipSelection::getSelectedText() const {
    return hasTextSelection() ? document_->selection().createRange()->text() : L"";
}

std::wstring ClipSelection::getSelectedMarkup() const {
    return hasTextSelection() ? document_->selection().createRange()->htmlText() : L"";
}

bool ClipSelection::hasTextSelection() const {
    return document_->selection().type() == L"Text";
}

std::wstring ClipSelection::queryBoundAction(const dom::Event& event) const {
    return findBoundAction(event.type, event.button, modifiersOf(event), mode_, event.keyCode);
}

bool ClipSelection::isEventBoundTo(const dom::Event& event, const std::wstring& action,
                                   bool ignoreType) const {
    return hasInputBinding(action, ignoreType ? L"" : event.type, event.button, modifiersOf(event),
                           mode_, event.keyCode);
}

int ClipSelection::classifyEventTarget(const dom::Event& event) const {
    const ElementPtr source = event.srcElement;
    if (!source)
        return 0;
    // The overlays let the pointer through, so the page's element under them is the
    // source: a point over a painted selected block is inside that block's overlay.
    if (const int hit = hitSelectedItem(event);
        hit != -1 && !selected_[static_cast<std::size_t>(hit)].overlayIds().empty())
        return selected_[static_cast<std::size_t>(hit)].kind() == SelectionItem::kText ? 8 : 11;
    if (getTagName(source) == L"body")
        return 1;
    if (getTagName(source) == L"html")
        return 2;
    for (ElementPtr node = source; node; node = node->parentElement()) {
        const std::wstring id = node->id();
        if (id == kElemTracker)
            return 4;
        if (id == kElemOverlay)
            return 5;
        if (id == kTextTracker)
            return 7;
        if (id == kTextOverlay)
            return 8;
        if (id == kRectTracker)
            return 10;
        if (id == kRectOverlay)
            return 11;
    }
    if (hasTextSelection()) {
        for (const dom::Rect& area : document_->selection().createRange()->getClientRects())
            if (toRect(area).contains(event.clientX, event.clientY))
                return 6;
    }
    return 3;
}

int ClipSelection::hitSelectedItem(const dom::Event& event) const {
    const Rect point = documentPoint(event);
    for (std::size_t i = selected_.size(); i-- > 0;)
        if (selected_[i].containsPoint(*document_, point.x, point.y))
            return static_cast<int>(i);
    return -1;
}

int ClipSelection::showHighlightMenu(const dom::Event& event) {
    const platform::ui::HWND browser = host_.browserWindow();
    if (!browser)
        return kNotHandled;
    platform::ui::Menu menu;
    for (const auto& entry : highlightMenuEntries()) {
        if (entry.id == 0)
            menu.appendSeparator();
        else
            menu.appendString(entry.id, entry.caption);
    }
    common::languageTable().localizeMenu(menu, L"Menu::Highlight", common::TextMatch::everyItem);
    const platform::ui::UINT chosen = platform::ui::trackPopupMenu(
        menu, platform::ui::TPM_RETURNCMD, {event.screenX, event.screenY}, browser);
    const std::wstring command = highlightMenuCommand(chosen);
    if (!command.empty())
        runCommand(command, false);
    return kHandled;
}

int ClipSelection::trackElementOperator(const dom::Event& event) {
    if (isDrawingRectangle() || !isEventBoundTo(event, L"operator-track-elem", true))
        return kNotHandled;
    if (hitSelectedItem(event) != -1) {
        clearTracking();
        return kNotHandled;
    }
    switch (classifyEventTarget(event)) {
        case 1:
        case 2:
            if (startsWith(trackedOperator_, L"operator-track-elem"))
                clearTracking();
            break;
        case 3:
            if (trackedOperator_.empty() || trackedOperator_ == L"operator-track-elem")
                setTrackedItem(SelectionItem::ofElements({event.srcElement}),
                               L"operator-track-elem");
            break;
        default:
            break;
    }
    return kNotHandled;
}

int ClipSelection::selectElementOperator(const dom::Event& event) {
    if (isDrawingRectangle())
        return kNotHandled;
    if (!tracked_.empty() && tracked_.front().kind() == SelectionItem::kText)
        return kNotHandled;
    int result = kNotHandled;
    const int hit = hitSelectedItem(event);
    if (hit != -1) {
        removeSelectedItem(selected_[hit]);
        result = kHandled;
    } else if (!tracked_.empty()) {
        selectTracked(false);
        result = kHandled;
    }
    cancelRectangle();
    return result;
}

int ClipSelection::beginRectOperator(const dom::Event& event) {
    if (!event.srcElement || getTagName(event.srcElement) == L"html" ||
        event.srcElement->componentFromPoint(event.clientX, event.clientY)
            .starts_with(L"scrollbar"))
        return kNotHandled;
    // A rectangle selects by the elements' boxes: a page without them says why at the
    // press of the button and draws no rectangle.
    if (reportLayoutFailure(*document_))
        return kNotHandled;
    event.srcElement->setCapture();
    setCursor(L"crosshair");
    clearTracking();
    const Rect start = documentPoint(event);
    startX_ = start.x;
    startY_ = start.y;
    width_ = height_ = -1;
    return kHandled;
}

int ClipSelection::trackRectOperator(const dom::Event& event) {
    const bool single = isEventBoundTo(event, L"operator-track-rect", true);
    const bool many = isEventBoundTo(event, L"operator-track-rects", true);
    if (!single && !many)
        return kNotHandled;
    if (!isDrawingRectangle()) {
        // The moves of a drag whose start was refused stay quiet: one message per press.
        if (!layoutFailureMessage(*document_).empty())
            return kNotHandled;
        beginRectOperator(event);
        return kHandledPassOn;
    }
    const Rect point = documentPoint(event);
    width_ = point.x - startX_;
    height_ = point.y - startY_;
    const Rect area = Rect{startX_, startY_, width_, height_}.normalized();
    if (single) {
        if (const ElementPtr element = findElementForRect(*document_, area))
            setTrackedItem(SelectionItem::ofElements({element}), L"operator-track-rect");
        else
            clearTracking();
    } else {
        auto elements = collectElementsInRect(document_->body(), area);
        if (!elements.empty())
            setTrackedItem(SelectionItem::ofElements(std::move(elements)), L"operator-track-rects");
        else
            clearTracking();
    }
    if (rectangleOverlayId_ == -1)
        rectangleOverlayId_ =
            overlays_.createOverlay(kRectTracker, kClipClass, kRectTrackerStyle, L"");
    if (rectangleOverlayId_ == -1)
        return kHandledPassOn;
    overlays_.placeOverlay(rectangleOverlayId_, Rect{startX_, startY_, width_, height_});
    overlays_.setOverlayVisible(rectangleOverlayId_, true);
    return kHandledPassOn;
}

int ClipSelection::selectRectOperator(const dom::Event&) {
    if (isDrawingRectangle() && std::abs(width_) + std::abs(height_) >= 20) {
        selectTracked(false);
        overlays_.setOverlayVisible(rectangleOverlayId_, false);
        cancelRectangle();
        return kHandled;
    }
    cancelRectangle();
    return kNotHandled;
}

int ClipSelection::trackTextOperator(const dom::Event& event) {
    if (isDrawingRectangle() || !isEventBoundTo(event, L"operator-track-text", true))
        return kNotHandled;
    switch (classifyEventTarget(event)) {
        case 6:
            if (trackedOperator_.empty() || trackedOperator_ == L"operator-track-text") {
                if (hasTextSelection())
                    setTrackedItem(SelectionItem::ofText(document_->selection().createRange()),
                                   L"operator-track-text");
            } else if (startsWith(trackedOperator_, L"operator-track-text-")) {
                clearTracking();
            }
            break;
        case 7:
        case 8:
            break;
        default:
            if (startsWith(trackedOperator_, L"operator-track-text"))
                clearTracking();
    }
    return kNotHandled;
}

int ClipSelection::selectTextOperator(const dom::Event& event) {
    if (isDrawingRectangle())
        return kNotHandled;
    const int hit = hitSelectedItem(event);
    if (hit != -1 && selected_[hit].kind() == SelectionItem::kElements)
        return kNotHandled;
    if (!tracked_.empty() && tracked_.front().kind() == SelectionItem::kElements)
        return kNotHandled;
    int result = kHandled;
    if (hit != -1)
        removeSelectedItem(selected_[hit]);
    else if (!tracked_.empty())
        selectTracked(false);
    else
        result = selectTextSelection();
    cancelRectangle();
    return result;
}

int ClipSelection::selectTextSelection() {
    if (!hasTextSelection())
        return kNotHandled;
    addToSelection(SelectionItem::ofText(document_->selection().createRange()), false);
    return kHandled;
}

void ClipSelection::selectTracked(bool replace) {
    if (selected_ == tracked_)
        return;
    for (const auto& item : tracked_) {
        SelectionItem copy = item;
        copy.overlayIds().clear();
        addToSelection(std::move(copy), replace);
    }
}

void ClipSelection::setTrackedItem(SelectionItem item, const std::wstring& operatorName) {
    if (tracked_.size() == 1 && tracked_.front() == item)
        return;
    clearTracking();
    trackedOperator_ = operatorName;
    const bool text = item.kind() == SelectionItem::kText;
    paint(item, text ? kTextTracker : kElemTracker, text ? kTextTrackerStyle : kElemTrackerStyle);
    tracked_.push_back(std::move(item));
}

void ClipSelection::requestMode(std::int32_t mode) {
    host_.requestModeChange(mode_, mode);
}

void ClipSelection::paint(SelectionItem& item, const std::wstring& id, const std::wstring& style) {
    for (const Rect& area : item.areas(*document_)) {
        const std::int32_t overlay = overlays_.createOverlay(id, kClipClass, style, L"");
        if (overlay == -1)
            continue;
        overlays_.placeOverlay(overlay, area);
        item.overlayIds().push_back(overlay);
    }
}

void ClipSelection::unpaint(SelectionItem& item) {
    for (std::int32_t overlay : item.overlayIds())
        overlays_.removeOverlay(overlay);
    item.overlayIds().clear();
}

void ClipSelection::removeRubberBand() {
    if (rectangleOverlayId_ != -1)
        overlays_.removeOverlay(rectangleOverlayId_);
    rectangleOverlayId_ = -1;
}

void ClipSelection::setCursor(const std::wstring& cursor) {
    if (cursor.empty())
        cursor_.restore();
    else
        cursor_.show(document_->body(), cursor);
}

Rect ClipSelection::documentPoint(const dom::Event& event) const {
    return Rect{event.clientX + scrollLeftOf(*document_), event.clientY + scrollTopOf(*document_),
                0, 0};
}

}  // namespace addon
