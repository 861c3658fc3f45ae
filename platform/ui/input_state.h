// The pointer position and the key states as the platform reports them (GetCursorPos,
// GetKeyState), process-wide. The headless window system has no devices: whoever delivers
// input (a host, a test) sets them beside the messages it sends.
//
// Contract: thread-safe; screen coordinates; virtual-key codes 0..255.
#pragma once

#include "platform/ui/types.h"

namespace platform::ui {

inline constexpr int VK_RETURN = 0x0D;
inline constexpr int VK_CONTROL = 0x11;
inline constexpr int VK_DELETE = 0x2E;
inline constexpr int VK_LCONTROL = 0xA2;
inline constexpr int VK_RCONTROL = 0xA3;

Point cursorPosition();
void setCursorPosition(Point position);

// The key's state with bit 0x80 set while it is down (GetKeyState).
short keyState(int virtualKey);
void setKeyDown(int virtualKey, bool down);

}  // namespace platform::ui
