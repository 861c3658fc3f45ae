// Turns a person's pointer on a page into the page's mouse events, in the order and with
// the values the browser gives them: "mouseout" on the element the pointer left and
// "mouseover" on the one it entered, then "mousemove" with the buttons held (1 left,
// 2 right, 4 middle); "mousedown" and "mouseup" with the button pressed or released;
// "click" (button 0) after a left release, and for the second click of a left double click
// no "mousedown" and "dblclick" in place of "click"; "contextmenu" after a right release.
//
// Contract: one per shown page, on the page's thread. Points are client coordinates of
// the page's viewport. The results say whether the page left the default handling to the
// browser (no sink cancelled the event).
#pragma once

#include <memory>
#include <string>

#include "platform/dom/document.h"

namespace platform::browser {

enum class PointerButton { left = 1, right = 2, middle = 4 };

class PagePointer {
  public:
    explicit PagePointer(std::shared_ptr<platform::dom::Document> page);

    void move(int x, int y, platform::dom::KeyModifiers modifiers);
    // `secondOfDouble`: the press or release is the second click of a double click.
    void press(PointerButton button, int x, int y, platform::dom::KeyModifiers modifiers,
               bool secondOfDouble = false);
    // Returns false when a sink cancelled the click (or the context menu), true otherwise.
    bool release(PointerButton button, int x, int y, platform::dom::KeyModifiers modifiers,
                 bool secondOfDouble = false);
    // The pointer left the page.
    void leave();

    // The buttons held now, as "mousemove" reports them.
    int held() const { return held_; }

  private:
    void crossTo(const std::shared_ptr<platform::dom::Element>& now, int x, int y,
                 platform::dom::KeyModifiers modifiers);
    bool fire(const wchar_t* type, int button, int x, int y, platform::dom::KeyModifiers modifiers);

    std::shared_ptr<platform::dom::Document> page_;
    std::weak_ptr<platform::dom::Element> under_;
    int held_ = 0;
};

// The address the element's link leads to as written (the href of the nearest "A" at or
// above it); empty when it is in no link.
std::wstring linkOf(std::shared_ptr<platform::dom::Element> element);

}  // namespace platform::browser
