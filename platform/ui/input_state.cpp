#include "platform/ui/input_state.h"

#include <array>
#include <atomic>

namespace platform::ui {

namespace {

std::atomic<int> cursorX{0};
std::atomic<int> cursorY{0};
std::array<std::atomic<bool>, 256> keysDown{};

}  // namespace

Point cursorPosition() {
    return {cursorX.load(), cursorY.load()};
}

void setCursorPosition(Point position) {
    cursorX = position.x;
    cursorY = position.y;
}

short keyState(int virtualKey) {
    if (virtualKey < 0 || virtualKey > 255)
        return 0;
    return keysDown[static_cast<std::size_t>(virtualKey)] ? static_cast<short>(0x80) : 0;
}

void setKeyDown(int virtualKey, bool down) {
    if (virtualKey >= 0 && virtualKey <= 255)
        keysDown[static_cast<std::size_t>(virtualKey)] = down;
}

}  // namespace platform::ui
