#include "platform/browser/page_pointer.h"

#include "platform/dom/window.h"

namespace platform::browser {

namespace dom = platform::dom;

PagePointer::PagePointer(std::shared_ptr<dom::Document> page) : page_(std::move(page)) {}

bool PagePointer::fire(const wchar_t* type, int button, int x, int y, dom::KeyModifiers modifiers) {
    return page_->dispatchMouseEvent(type, x, y, button, modifiers);
}

void PagePointer::crossTo(const std::shared_ptr<dom::Element>& now, int x, int y,
                          dom::KeyModifiers modifiers) {
    const auto before = under_.lock();
    if (now == before) {
        return;
    }
    under_ = now;
    if (before && page_->contains(*before)) {
        dom::Event out;
        out.type = L"mouseout";
        out.clientX = x;
        out.clientY = y;
        out.screenX = page_->parentWindow().screenOrigin().x + x;
        out.screenY = page_->parentWindow().screenOrigin().y + y;
        out.altKey = modifiers.alt;
        out.ctrlKey = modifiers.ctrl;
        out.shiftKey = modifiers.shift;
        out.srcElement = before;
        page_->fireEvent(out);
    }
    if (now) {
        fire(L"mouseover", 0, x, y, modifiers);
    }
}

void PagePointer::move(int x, int y, dom::KeyModifiers modifiers) {
    crossTo(page_->elementFromPoint(x, y), x, y, modifiers);
    fire(L"mousemove", held_, x, y, modifiers);
}

void PagePointer::press(PointerButton button, int x, int y, dom::KeyModifiers modifiers,
                        bool secondOfDouble) {
    held_ |= static_cast<int>(button);
    if (secondOfDouble && button == PointerButton::left) {
        return;
    }
    fire(L"mousedown", static_cast<int>(button), x, y, modifiers);
}

bool PagePointer::release(PointerButton button, int x, int y, dom::KeyModifiers modifiers,
                          bool secondOfDouble) {
    held_ &= ~static_cast<int>(button);
    fire(L"mouseup", static_cast<int>(button), x, y, modifiers);
    switch (button) {
        case PointerButton::left:
            return fire(secondOfDouble ? L"dblclick" : L"click", 0, x, y, modifiers);
        case PointerButton::right:
            return fire(L"contextmenu", 2, x, y, modifiers);
        case PointerButton::middle:
            return true;
    }
    return true;
}

void PagePointer::leave() {
    dom::Event out;
    if (const auto before = under_.lock(); before && page_->contains(*before)) {
        out.type = L"mouseout";
        out.srcElement = before;
        page_->fireEvent(out);
    }
    under_.reset();
}

std::wstring linkOf(std::shared_ptr<dom::Element> element) {
    for (; element; element = element->parentElement()) {
        if (element->hasTag(L"A")) {
            if (const auto href = element->getAttribute(L"href")) {
                return *href;
            }
        }
    }
    return {};
}

}  // namespace platform::browser
