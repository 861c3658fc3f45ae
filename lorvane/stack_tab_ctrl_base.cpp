#include "lorvane/stack_tab_ctrl_base.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/input_state.h"
#include "platform/ui/window_system.h"

namespace lorvane {

using platform::ui::windows;

namespace {

bool contains(const Rect& rect, Point point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top &&
           point.y < rect.bottom;
}

}  // namespace

StackTabCtrlBase::~StackTabCtrlBase() {
    if (windows().isWindow(window_)) {
        windows().setProc(window_, {});
        windows().destroyWindow(window_);
    }
}

HWND StackTabCtrlBase::Create(HWND parent, Rect rect, const std::wstring& text, int style, int id) {
    if (style == 0)
        style = kDefaultStyle;
    ownBorder = (style & WS_BORDER) != 0;
    window_ = windows().createWindow(
        {.className = L"LorvaneStackTab",
         .title = text,
         .parent = parent,
         .rect = rect,
         .controlId = id,
         .proc = [this](const Message& message) { return handleMessage(message); }});
    if (window_) {
        onCreate();
        UpdateLayout();
    }
    return window_;
}

StackTabItem* StackTabCtrlBase::AddItem(HWND window, const std::wstring& caption, int image,
                                        int data) {
    auto item = std::make_unique<StackTabItem>();
    item->window = window;
    item->caption = caption;
    item->image = image;
    item->data = data;
    StackTabItem* added = item.get();
    items_.push_back(std::move(item));
    if (active_)
        windows().show(window, false);
    else
        active_ = added;
    return added;
}

void StackTabCtrlBase::RemoveAllItems() {
    items_.clear();
    active_ = nullptr;
    shownWindow_ = {};
    hot_ = {};
    pressed_ = {};
    toolTips_.clear();
}

void StackTabCtrlBase::SetImageLists(const ImageList* large, const ImageList* small,
                                     const ImageList* disabledLarge,
                                     const ImageList* disabledSmall) {
    if (large)
        large_ = *large;
    if (small)
        small_ = *small;
    if (disabledLarge)
        disabledLarge_ = *disabledLarge;
    if (disabledSmall)
        disabledSmall_ = *disabledSmall;
}

void StackTabCtrlBase::SetLargeCount(int count) {
    int visibleIndex = 0;
    for (auto& item : items_) {
        if (!item->visible)
            continue;
        item->collapsed = visibleIndex >= count;
        ++visibleIndex;
    }
}

int StackTabCtrlBase::largeCount() const {
    int count = 0;
    for (const auto& item : items_) {
        if (item->collapsed)
            break;
        count += item->visible;
    }
    return count;
}

int StackTabCtrlBase::visibleCount() const {
    return static_cast<int>(std::count_if(items_.begin(), items_.end(),
                                          [](const auto& item) { return item->visible; }));
}

int StackTabCtrlBase::iconRowHeight() const {
    return std::max(cyLarge(), cySmall()) + 6;
}

void StackTabCtrlBase::Select(StackTabItem* item) {
    active_ = item;
    showActiveWindow();
    invalidate();
}

void StackTabCtrlBase::showActiveWindow() {
    auto& system = windows();
    if (shownWindow_ && (!active_ || shownWindow_ != active_->window))
        system.show(shownWindow_, false);
    shownWindow_ = {};
    if (!active_)
        return;
    system.setWindowPos(active_->window, pageRect_.left, pageRect_.top, pageRect_.width(),
                        std::max(pageRect_.height(), 0), platform::ui::SWP_NOZORDER);
    system.show(active_->window, true);
    shownWindow_ = active_->window;
}

void StackTabCtrlBase::UpdateLayout() {
    // Large buttons are always a leading run of the list.
    const auto firstCollapsed = std::find_if(items_.begin(), items_.end(),
                                             [](const auto& item) { return item->collapsed; });
    for (auto it = firstCollapsed; it != items_.end(); ++it)
        (*it)->collapsed = true;

    const int k = largeCount();
    const bool anyCollapsed = std::any_of(items_.begin(), items_.end(), [](const auto& item) {
        return item->visible && item->collapsed;
    });
    iconRowShown_ = !(!showSettingsButton && hideEmptyIconRow && !anyCollapsed);
    const int h = largeButtonHeight();
    const int rowsHeight = k * (h + 1) - (iconRowShown_ ? 0 : 1);
    const int rowHeight = iconRowShown_ ? iconRowHeight() : 0;

    Rect area = windows().clientRect(window_);
    if (ownBorder)
        area = {area.left + 1, area.top + 1, area.right - 1, area.bottom - 1};
    captionRect_ = {};
    if (showCaption) {
        const int height = captionHeight();
        if (captionAtBottom) {
            captionRect_ = {area.left, area.bottom - height, area.right, area.bottom};
            area.bottom -= height;
        } else {
            captionRect_ = {area.left, area.top, area.right, area.top + height};
            area.top += height;
        }
    }
    const int split = splitterHeight();
    const auto band = [&](int top, int height) {
        return Rect{area.left, top, area.right, top + height};
    };
    switch (layout) {
        case 1:
            buttonsRect_ = band(area.bottom - rowsHeight, rowsHeight);
            iconRowRect_ = band(buttonsRect_.top - rowHeight, rowHeight);
            splitterRect_ = band(iconRowRect_.top - split, split);
            pageRect_ = {area.left, area.top, area.right, splitterRect_.top};
            break;
        case 2:
            iconRowRect_ = band(area.top, rowHeight);
            buttonsRect_ = band(iconRowRect_.bottom, rowsHeight);
            splitterRect_ = band(buttonsRect_.bottom, split);
            pageRect_ = {area.left, splitterRect_.bottom, area.right, area.bottom};
            break;
        case 3:
            buttonsRect_ = band(area.top, rowsHeight);
            iconRowRect_ = band(buttonsRect_.bottom, rowHeight);
            splitterRect_ = band(iconRowRect_.bottom, split);
            pageRect_ = {area.left, splitterRect_.bottom, area.right, area.bottom};
            break;
        default:
            iconRowRect_ = band(area.bottom - rowHeight, rowHeight);
            buttonsRect_ = band(iconRowRect_.top - rowsHeight, rowsHeight);
            splitterRect_ = band(buttonsRect_.top - split, split);
            pageRect_ = {area.left, area.top, area.right, splitterRect_.top};
            break;
    }
    settingsRect_ = {};
    if (showSettingsButton) {
        settingsRect_ = {iconRowRect_.right - iconButtonWidth(), iconRowRect_.top,
                         iconRowRect_.right, iconRowRect_.bottom};
        iconRowRect_.right = settingsRect_.left;
    }
    layoutItems(rowsHeight);

    if (!active_ || !active_->visible) {
        active_ = nullptr;
        for (auto& item : items_)
            if (item->visible && !item->disabled) {
                active_ = item.get();
                break;
            }
    }
    showActiveWindow();

    toolTips_.clear();
    int toolId = 1;
    for (const auto& item : items_)
        if (item->visible && item->collapsed)
            toolTips_.push_back({toolId++, item->caption, item->rect});
    invalidate();
}

void StackTabCtrlBase::layoutItems(int /*rowsHeight*/) {
    const int w = iconButtonWidth();
    const int h = largeButtonHeight();
    const int rowEnd = iconRowRect_.right;
    std::vector<StackTabItem*> icons;
    int row = 0;
    const bool tightRows = !iconRowShown_ && (layout == 1 || layout == 2);
    for (auto& item : items_) {
        if (!item->visible) {
            item->rect = {};
            continue;
        }
        if (item->collapsed) {
            icons.push_back(item.get());
            continue;
        }
        int top = buttonsRect_.top + row * (h + 1);
        if (tightRows && row > 0)
            top -= 1;
        item->rect = {buttonsRect_.left, top, buttonsRect_.right,
                      std::min(top + h + 1, buttonsRect_.bottom)};
        ++row;
    }
    const int total = static_cast<int>(icons.size()) * w;
    int x = iconRowRect_.left;
    if (!iconsFromLeft && total <= rowEnd - iconRowRect_.left)
        x = rowEnd - total;
    for (StackTabItem* item : icons) {
        item->rect = {x, iconRowRect_.top, x + w, iconRowRect_.bottom};
        x += w;
    }
}

HitTarget StackTabCtrlBase::HitTest(Point client) const {
    for (const auto& item : items_)
        if (item->visible && contains(item->rect, client))
            return item->disabled ? HitTarget{} : HitTarget{item.get(), HitTarget::none};
    if (contains(splitterRect_, client))
        return {nullptr, HitTarget::splitter};
    if (showSettingsButton && contains(settingsRect_, client))
        return {nullptr, HitTarget::settings};
    return {};
}

ItemLook StackTabCtrlBase::itemLook(bool active, bool hot, bool pressed) const {
    if (pressed_.empty())
        return {(active && !hot) || (hot && !active), hot && active};
    return {active, hot && pressed};
}

ItemLook StackTabCtrlBase::lookOf(const StackTabItem* item, int area) const {
    const HitTarget target{const_cast<StackTabItem*>(item), area};
    return itemLook(item && item == active_, hot_ == target, pressed_ == target);
}

bool StackTabCtrlBase::isLargeHot(const StackTabItem& item) const {
    return pressed_.empty() && hot_.item == &item && active_ != &item;
}

void StackTabCtrlBase::invalidate() {
    windows().invalidate(window_);
}

Point StackTabCtrlBase::toClient(Point screen) const {
    const Rect placed = windows().windowRect(window_);
    return {screen.x - placed.left - (ownBorder ? 1 : 0),
            screen.y - placed.top - (ownBorder ? 1 : 0)};
}

void StackTabCtrlBase::onLeftButtonDown(Point client) {
    const HitTarget target = HitTest(client);
    if (!target.item && target.area != HitTarget::settings)
        return;
    pressed_ = target;
    capture_ = true;
    invalidate();
}

void StackTabCtrlBase::onLeftButtonUp(Point client) {
    if (pressed_.empty())
        return;
    const HitTarget target = HitTest(client);
    const HitTarget pressed = pressed_;
    const bool clicked = target == pressed && pressed.area != HitTarget::splitter &&
                         (!pressed.item || pressed.item != active_);
    capture_ = false;
    pressed_ = {};
    if (clicked && pressed.area == HitTarget::settings) {
        OnSettings(settingsRect_);
    } else if (clicked && pressed.item && maySelectItem(pressed.item)) {
        Select(pressed.item);
        windows().setFocus(pressed.item->window);
        itemSelected(pressed.item);
    }
    invalidate();
}

void StackTabCtrlBase::onMouseMove(Point client) {
    if (pressed_.area == HitTarget::splitter) {
        const double pitch = largeButtonHeight() + 1;
        int steps = static_cast<int>(std::lround((client.y - anchorY_) / pitch));
        if (layout == 0 || layout == 1)
            steps = -steps;
        const int wanted = std::clamp(largeAtPress_ + steps, 0, visibleCount());
        if (wanted != largeCount()) {
            SetLargeCount(wanted);
            UpdateLayout();
        }
        return;
    }
    const HitTarget target = HitTest(client);
    if (!target.item && target.area != HitTarget::settings)
        return;
    const bool wasNothing = hot_.empty();
    if (!(target == hot_)) {
        hot_ = target;
        invalidate();
    }
    if (wasNothing) {
        windows().setTimer(window_, kHoverTimer, kHoverPeriod);
        hoverTimer_ = true;
    }
}

void StackTabCtrlBase::onHoverTimer() {
    const HitTarget target = HitTest(toClient(platform::ui::cursorPosition()));
    if (target.item || target.area == HitTarget::settings)
        return;
    windows().killTimer(window_, kHoverTimer);
    hoverTimer_ = false;
    hot_ = {};
    invalidate();
}

void StackTabCtrlBase::onSplitterDoubleClick() {
    const bool anyCollapsed = std::any_of(items_.begin(), items_.end(), [](const auto& item) {
        return item->visible && item->collapsed;
    });
    SetLargeCount(anyCollapsed ? visibleCount() : 0);
    UpdateLayout();
}

void StackTabCtrlBase::clearHotAndPressed() {
    if (hoverTimer_)
        windows().killTimer(window_, kHoverTimer);
    hoverTimer_ = false;
    hot_ = {};
    pressed_ = {};
    capture_ = false;
    invalidate();
}

LRESULT StackTabCtrlBase::handleMessage(const Message& message) {
    switch (message.id) {
        case platform::ui::WM_SIZE:
            UpdateLayout();
            return 0;
        case platform::ui::WM_PAINT:
            paint();
            return 0;
        case WM_LBUTTONDOWN:
            onLeftButtonDown(pointOf(message.lParam));
            return 0;
        case WM_LBUTTONUP:
            onLeftButtonUp(pointOf(message.lParam));
            return 0;
        case WM_MOUSEMOVE:
            onMouseMove(pointOf(message.lParam));
            return 0;
        case platform::ui::WM_TIMER:
            if (message.wParam == kHoverTimer)
                onHoverTimer();
            return 0;
        case WM_NCHITTEST:
            return contains(splitterRect_, toClient(pointOf(message.lParam))) ? HTSPLITTER
                                                                              : HTCLIENT;
        case WM_SETCURSOR:
            cursor_ = static_cast<int>(message.lParam & 0xFFFF) == HTSPLITTER && splitterEnabled
                          ? CursorShape::sizeNorthSouth
                          : CursorShape::arrow;
            return cursor_ == CursorShape::sizeNorthSouth;
        case WM_NCLBUTTONDOWN:
            if (static_cast<int>(message.wParam) == HTSPLITTER && splitterEnabled) {
                anchorY_ = toClient(pointOf(message.lParam)).y;
                largeAtPress_ = largeCount();
                pressed_ = {nullptr, HitTarget::splitter};
                capture_ = true;
            }
            return 0;
        case WM_NCLBUTTONDBLCLK:
            if (static_cast<int>(message.wParam) == HTSPLITTER && splitterEnabled)
                onSplitterDoubleClick();
            return 0;
        case WM_CAPTURECHANGED:
            if (HWND{static_cast<std::uint64_t>(message.lParam)} != window_)
                clearHotAndPressed();
            return 0;
        default:
            return 0;
    }
}

}  // namespace lorvane
