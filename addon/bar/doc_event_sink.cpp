#include "addon/bar/doc_event_sink.h"

#include "addon/bar/toolbox.h"
#include "common/language/language_table.h"
#include "platform/dom/element.h"
#include "platform/dom/events/event.h"

namespace addon {

namespace dom = platform::dom;
namespace ui = platform::ui;

namespace {

void cancel(dom::Event& event) {
    event.cancelBubble = true;
    event.returnValue = platform::com::Variant::fromBool(false);
}

// The value of an attribute as the page reads it: an absent one is "undefined".
std::wstring attributeOf(const dom::Element& element, std::wstring_view name) {
    return element.getAttribute(name).value_or(L"undefined");
}

}  // namespace

platform::com::HRESULT DocEventSink::Invoke(dom::Event& event) {
    if (event.srcElement && event.srcElement->hasTag(L"INPUT")) {
        return platform::com::S_OK;
    }
    if (event.type == L"contextmenu") {
        toolbox_.showToolboxMenu({event.screenX, event.screenY});
        cancel(event);
    } else if (event.type == L"selectstart" || event.type == L"dragstart") {
        cancel(event);
    } else if (event.type == L"mouseover") {
        translateTip(event);
    } else if (event.type == L"click") {
        if (showAttributeMenu(event)) {
            cancel(event);
        }
    }
    return platform::com::S_OK;
}

void DocEventSink::translateTip(const dom::Event& event) {
    for (auto element = event.srcElement; element; element = element->parentElement()) {
        if (!element->hasAttribute(L"title")) {
            continue;
        }
        const std::wstring title = attributeOf(*element, L"title");
        const std::wstring tip = common::languageTable().translate(L"Toolbar::Tip", title);
        if (tip != title) {
            element->setAttribute(L"title", tip);
        }
        return;
    }
}

bool DocEventSink::showAttributeMenu(const dom::Event& event) {
    const auto page = toolbox_.page();
    if (!page) {
        return false;
    }
    for (auto element = page->elementFromPoint(event.clientX, event.clientY); element;
         element = element->parentElement()) {
        const std::wstring menu = attributeOf(*element, L"menu");
        if (menu == L"undefined") {
            continue;
        }
        const auto box = element->getBoundingClientRect().value_or(dom::Rect{});
        const int dx = event.screenX - event.clientX;
        const int dy = event.screenY - event.clientY;
        const bool right = attributeOf(*element, L"menu_align") == L"right";
        const ui::Point at{(right ? box.right : box.left) + dx, box.bottom + dy};
        if (menu == L"setting") {
            toolbox_.showToolboxMenu(at);
            return true;
        }
        if (menu == L"pagestyle") {
            toolbox_.showPageStyleMenu(at);
            return true;
        }
        return toolbox_.showOptionMenu(menu, at);
    }
    return false;
}

}  // namespace addon
