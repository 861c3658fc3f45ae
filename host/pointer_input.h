// The pointer of a person in front of the page: moves, presses and releases of the left,
// right and middle buttons (with Ctrl, Shift and Alt held), clicks, double clicks, drags
// and the wheel, at points of the page's view. Each is delivered as the browser delivers
// it: the cursor position and button and modifier key states are set (input_state.h), the
// window message goes to the page's window ("Internet Explorer_Server": WM_MOUSEMOVE,
// WM_LBUTTONDOWN, ..., WM_MOUSEWHEEL), and the page's DOM events are fired at the element
// that the page's hit testing finds at the point (or at the element holding the capture):
// mouseout and mouseover when the pointer enters another element, mousemove, mousedown,
// mouseup, then click (left button) or contextmenu (right button) on release, dblclick,
// mousewheel. Where no handler cancelled an event, the browser's own default follows: a
// left-button drag selects the page's text from the press to the pointer, a press clears
// that selection, the wheel scrolls the page (100 pixels a notch of 120).
//
// Contract: the page's user-interface thread; the document must outlive the call. Points
// are client coordinates of the page's view (pixels from its top left corner).
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/dom/document.h"
#include "platform/dom/text_range.h"
#include "platform/ui/types.h"

namespace host {

enum class MouseButton { none = 0, left = 1, right = 2, middle = 4 };

struct PointerModifiers {
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
};

class PointerInput {
  public:
    // `view` is the page's window; `page` the document it shows.
    PointerInput(platform::ui::HWND view, std::shared_ptr<platform::dom::Document> page);

    void move(platform::dom::Point to, PointerModifiers modifiers = {});
    void press(platform::dom::Point at, MouseButton button, PointerModifiers modifiers = {});
    void release(platform::dom::Point at, MouseButton button, PointerModifiers modifiers = {});
    void click(platform::dom::Point at, MouseButton button, PointerModifiers modifiers = {});
    void doubleClick(platform::dom::Point at, PointerModifiers modifiers = {});
    // Press at `from`, moves in steps of at most 20 pixels, release at `to`.
    void drag(platform::dom::Point from, platform::dom::Point to, MouseButton button,
              PointerModifiers modifiers = {});
    // `delta` in wheel units: 120 a notch, positive away from the person (up).
    void wheel(platform::dom::Point at, int delta, PointerModifiers modifiers = {});

  private:
    bool fire(const std::wstring& type, platform::dom::Point at, int button,
              PointerModifiers modifiers,
              const std::shared_ptr<platform::dom::Element>& target = nullptr);
    void sendMessage(platform::ui::UINT id, platform::dom::Point at, PointerModifiers modifiers,
                     platform::ui::WPARAM extra = 0);
    void setKeys(PointerModifiers modifiers);
    void track(platform::dom::Point at, PointerModifiers modifiers);
    void extendTextSelection(platform::dom::Point to);

    platform::ui::HWND view_;
    std::shared_ptr<platform::dom::Document> page_;
    int held_ = 0;  // DOM button bits held
    std::weak_ptr<platform::dom::Element> hovered_;
    // Where a left-button press that the page let through began a text selection.
    std::optional<platform::dom::Point> selectingFrom_;
};

// The place in the page's text nearest to a client point: the character under it (before
// it when the point is on its left half, after it on its right half), else the nearest
// character on the line at that height, else the start of the element at the point.
std::optional<platform::dom::BoundaryPoint> textPointAt(const platform::dom::Document& page,
                                                        platform::dom::Point at);

// Makes the page's text selection the text between two client points.
bool selectTextBetween(platform::dom::Document& page, platform::dom::Point from,
                       platform::dom::Point to);

}  // namespace host
