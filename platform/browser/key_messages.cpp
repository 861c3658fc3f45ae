#include "platform/browser/key_messages.h"

#include "platform/ui/input_state.h"

namespace platform::browser {
namespace {

constexpr ui::UINT kKeyUp = 0x0101;
constexpr ui::UINT kSystemKeyUp = 0x0105;
constexpr int kShiftKey = 0x10;
constexpr int kAltKey = 0x12;

bool held(int virtualKey) {
    return (ui::keyState(virtualKey) & 0x80) != 0;
}

}  // namespace

bool isKeyMessage(ui::UINT id) {
    return id >= WM_KEYFIRST && id <= WM_KEYLAST;
}

int translateKeyMessage(dom::Document& page, const ui::Message& message) {
    if (!isKeyMessage(message.id)) {
        return 1;
    }
    const bool up = message.id == kKeyUp || message.id == kSystemKeyUp;
    dom::KeyModifiers modifiers;
    modifiers.ctrl = held(ui::VK_CONTROL);
    modifiers.shift = held(kShiftKey);
    modifiers.alt = held(kAltKey);
    const bool proceeds = page.dispatchKeyEvent(up ? L"keyup" : L"keydown",
                                                static_cast<int>(message.wParam), modifiers);
    return proceeds ? 1 : 0;
}

}  // namespace platform::browser
