#include "host/pointer_input.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "host/output.h"
#include "platform/dom/window.h"
#include "platform/ui/input_state.h"
#include "platform/ui/pointer_messages.h"
#include "platform/ui/window_system.h"

namespace host {
namespace {

using platform::dom::BoundaryPoint;
using platform::dom::Document;
using platform::dom::Element;
using platform::dom::Node;
using platform::dom::NodeType;
using platform::dom::Point;
using platform::dom::Rect;
namespace ui = platform::ui;

using ui::MK_CONTROL;
using ui::MK_LBUTTON;
using ui::MK_MBUTTON;
using ui::MK_RBUTTON;
using ui::MK_SHIFT;
using ui::WM_CONTEXTMENU;
using ui::WM_LBUTTONDBLCLK;
using ui::WM_LBUTTONDOWN;
using ui::WM_LBUTTONUP;
using ui::WM_MBUTTONDOWN;
using ui::WM_MBUTTONUP;
using ui::WM_MOUSEMOVE;
using ui::WM_MOUSEWHEEL;
using ui::WM_RBUTTONDOWN;
using ui::WM_RBUTTONUP;
constexpr int VK_LBUTTON = 0x01;
constexpr int VK_RBUTTON = 0x02;
constexpr int VK_MBUTTON = 0x04;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_MENU = 0x12;
constexpr int kWheelScroll = 100;
constexpr int kDragStep = 20;

ui::UINT downMessage(MouseButton button) {
    return button == MouseButton::right    ? WM_RBUTTONDOWN
           : button == MouseButton::middle ? WM_MBUTTONDOWN
                                           : WM_LBUTTONDOWN;
}

ui::UINT upMessage(MouseButton button) {
    return button == MouseButton::right    ? WM_RBUTTONUP
           : button == MouseButton::middle ? WM_MBUTTONUP
                                           : WM_LBUTTONUP;
}

int virtualKey(MouseButton button) {
    return button == MouseButton::right    ? VK_RBUTTON
           : button == MouseButton::middle ? VK_MBUTTON
                                           : VK_LBUTTON;
}

// Every text node below `node`, in document order.
void textNodesBelow(const std::shared_ptr<Node>& node, std::vector<std::shared_ptr<Node>>& found) {
    for (const auto& child : node->childNodes()) {
        if (child->nodeType() == NodeType::Text) {
            found.push_back(child);
        } else if (child->nodeType() == NodeType::Element) {
            textNodesBelow(child, found);
        }
    }
}

std::shared_ptr<Document> shared(const Document& page) {
    return std::static_pointer_cast<Document>(
        std::const_pointer_cast<Node>(page.shared_from_this()));
}

std::optional<Rect> characterBox(const std::shared_ptr<Document>& page,
                                 const std::shared_ptr<Node>& text, std::size_t offset) {
    const platform::dom::TextRange range(page, {text, offset}, {text, offset + 1});
    return range.getBoundingClientRect();
}

// With --verbose, each page event delivered: its type, point, target and whether a handler
// cancelled the page's own handling.
void traceEvent(const std::wstring& type, Point at, const std::shared_ptr<Element>& target,
                bool passed) {
    if (verbosity() != Verbosity::verbose) {
        return;
    }
    std::wstring name = target ? target->tagName() : L"nothing";
    if (target) {
        if (const auto id = target->getAttribute(L"id")) {
            name += L"#" + *id;
        }
    }
    trace(L"  " + type + L" at " + std::to_wstring(at.x) + L"," + std::to_wstring(at.y) + L" on " +
          printable(name) + (passed ? L"" : L" (taken by a handler)"));
}

}  // namespace

std::optional<BoundaryPoint> textPointAt(const Document& page, Point at) {
    const std::shared_ptr<Element> element = page.elementFromPoint(at.x, at.y);
    if (!element) {
        return std::nullopt;
    }
    const std::shared_ptr<Document> document = shared(page);
    std::vector<std::shared_ptr<Node>> texts;
    textNodesBelow(element, texts);
    std::optional<BoundaryPoint> nearest;
    int nearestDistance = 0;
    for (const auto& text : texts) {
        const std::size_t length = text->nodeValue().size();
        for (std::size_t offset = 0; offset < length; ++offset) {
            const std::optional<Rect> box = characterBox(document, text, offset);
            if (!box || box->isEmpty() || at.y < box->top || at.y > box->bottom) {
                continue;
            }
            const bool rightHalf = at.x > (box->left + box->right) / 2;
            if (at.x >= box->left && at.x <= box->right) {
                return BoundaryPoint{text, offset + (rightHalf ? 1 : 0)};
            }
            const int distance = at.x < box->left ? box->left - at.x : at.x - box->right;
            if (!nearest || distance < nearestDistance) {
                nearest = BoundaryPoint{text, offset + (rightHalf ? 1 : 0)};
                nearestDistance = distance;
            }
        }
    }
    if (nearest) {
        return nearest;
    }
    return BoundaryPoint{element, 0};
}

bool selectTextBetween(Document& page, Point from, Point to) {
    std::optional<BoundaryPoint> start = textPointAt(page, from);
    std::optional<BoundaryPoint> end = textPointAt(page, to);
    if (!start || !end) {
        return false;
    }
    if (to.y < from.y || (to.y == from.y && to.x < from.x)) {
        std::swap(start, end);
    }
    platform::dom::TextRange(shared(page), *start, *end).select();
    return true;
}

PointerInput::PointerInput(ui::HWND view, std::shared_ptr<Document> page)
    : view_(view), page_(std::move(page)) {}

void PointerInput::setKeys(PointerModifiers modifiers) {
    ui::setKeyDown(ui::VK_CONTROL, modifiers.ctrl);
    ui::setKeyDown(VK_SHIFT, modifiers.shift);
    ui::setKeyDown(VK_MENU, modifiers.alt);
}

void PointerInput::sendMessage(ui::UINT id, Point at, PointerModifiers modifiers,
                               ui::WPARAM extra) {
    const ui::Rect view = ui::windows().windowRect(view_);
    ui::setCursorPosition({view.left + at.x, view.top + at.y});
    setKeys(modifiers);
    ui::WPARAM keys = extra;
    keys |= (held_ & 1) ? MK_LBUTTON : 0;
    keys |= (held_ & 2) ? MK_RBUTTON : 0;
    keys |= (held_ & 4) ? MK_MBUTTON : 0;
    keys |= modifiers.ctrl ? MK_CONTROL : 0;
    keys |= modifiers.shift ? MK_SHIFT : 0;
    ui::windows().send(view_, id, keys, ui::pointParam(at.x, at.y));
}

bool PointerInput::fire(const std::wstring& type, Point at, int button, PointerModifiers modifiers,
                        const std::shared_ptr<Element>& target) {
    const platform::dom::KeyModifiers keys{modifiers.alt, modifiers.ctrl, modifiers.shift};
    if (!target) {
        const auto hit =
            page_->captureElement() ? page_->captureElement() : page_->elementFromPoint(at.x, at.y);
        const bool passed = page_->dispatchMouseEvent(type, at.x, at.y, button, keys);
        traceEvent(type, at, hit, passed);
        return passed;
    }
    platform::dom::Event event;
    event.type = type;
    event.clientX = at.x;
    event.clientY = at.y;
    const Point screen = page_->parentWindow().screenOrigin();
    event.screenX = screen.x + at.x;
    event.screenY = screen.y + at.y;
    event.button = button;
    event.altKey = modifiers.alt;
    event.ctrlKey = modifiers.ctrl;
    event.shiftKey = modifiers.shift;
    event.srcElement = target;
    const bool passed = page_->fireEvent(event);
    traceEvent(type, at, target, passed);
    return passed;
}

void PointerInput::track(Point at, PointerModifiers modifiers) {
    const std::shared_ptr<Element> under = page_->elementFromPoint(at.x, at.y);
    const std::shared_ptr<Element> former = hovered_.lock();
    if (under != former) {
        if (former) {
            fire(L"mouseout", at, held_, modifiers, former);
        }
        hovered_ = under;
        if (under) {
            fire(L"mouseover", at, held_, modifiers, under);
        }
    }
}

void PointerInput::extendTextSelection(Point to) {
    if (selectingFrom_) {
        selectTextBetween(*page_, *selectingFrom_, to);
    }
}

void PointerInput::move(Point to, PointerModifiers modifiers) {
    sendMessage(WM_MOUSEMOVE, to, modifiers);
    track(to, modifiers);
    fire(L"mousemove", to, held_, modifiers);
    extendTextSelection(to);
}

void PointerInput::press(Point at, MouseButton button, PointerModifiers modifiers) {
    if (hovered_.lock() != page_->elementFromPoint(at.x, at.y)) {
        move(at, modifiers);
    }
    held_ |= static_cast<int>(button);
    ui::setKeyDown(virtualKey(button), true);
    sendMessage(downMessage(button), at, modifiers);
    const bool passed = fire(L"mousedown", at, static_cast<int>(button), modifiers);
    if (button == MouseButton::left) {
        selectingFrom_.reset();
        if (passed) {
            page_->selection().empty();
            selectingFrom_ = at;
        }
    }
}

void PointerInput::release(Point at, MouseButton button, PointerModifiers modifiers) {
    if (hovered_.lock() != page_->elementFromPoint(at.x, at.y)) {
        move(at, modifiers);
    }
    if (button == MouseButton::left && selectingFrom_ && *selectingFrom_ != at) {
        extendTextSelection(at);
    }
    held_ &= ~static_cast<int>(button);
    ui::setKeyDown(virtualKey(button), false);
    sendMessage(upMessage(button), at, modifiers);
    fire(L"mouseup", at, static_cast<int>(button), modifiers);
    if (button == MouseButton::left) {
        selectingFrom_.reset();
        fire(L"click", at, 0, modifiers);
    } else if (button == MouseButton::right) {
        sendMessage(WM_CONTEXTMENU, at, modifiers);
        fire(L"contextmenu", at, static_cast<int>(MouseButton::right), modifiers);
    }
}

void PointerInput::click(Point at, MouseButton button, PointerModifiers modifiers) {
    press(at, button, modifiers);
    release(at, button, modifiers);
}

void PointerInput::doubleClick(Point at, PointerModifiers modifiers) {
    click(at, MouseButton::left, modifiers);
    // The second press of a double click: the window hears WM_LBUTTONDBLCLK, the page a
    // mouseup and a dblclick (the old browser's order).
    held_ |= 1;
    sendMessage(WM_LBUTTONDBLCLK, at, modifiers);
    held_ &= ~1;
    sendMessage(WM_LBUTTONUP, at, modifiers);
    fire(L"mouseup", at, 1, modifiers);
    fire(L"dblclick", at, 0, modifiers);
}

void PointerInput::drag(Point from, Point to, MouseButton button, PointerModifiers modifiers) {
    press(from, button, modifiers);
    const int steps =
        std::max(1, std::max(std::abs(to.x - from.x), std::abs(to.y - from.y)) / kDragStep);
    for (int step = 1; step <= steps; ++step) {
        move({from.x + (to.x - from.x) * step / steps, from.y + (to.y - from.y) * step / steps},
             modifiers);
    }
    release(to, button, modifiers);
}

void PointerInput::wheel(Point at, int delta, PointerModifiers modifiers) {
    if (hovered_.lock() != page_->elementFromPoint(at.x, at.y)) {
        move(at, modifiers);
    }
    sendMessage(WM_MOUSEWHEEL, at, modifiers,
                static_cast<ui::WPARAM>(static_cast<std::uint16_t>(delta)) << 16);
    if (fire(L"mousewheel", at, held_, modifiers)) {
        platform::dom::Window& window = page_->parentWindow();
        const Point scroll = window.scrollPosition();
        window.scrollTo(scroll.x, scroll.y - delta * kWheelScroll / ui::WHEEL_DELTA);
    }
}

}  // namespace host
