// Window messages, hit-test codes, virtual keys and cursor names that the side pane handles
// beyond the window system's common set. Values only.
#pragma once

#include "platform/ui/pointer_messages.h"
#include "platform/ui/types.h"

namespace lorvane {

using platform::ui::LPARAM;
using platform::ui::UINT;
// The pointer's messages are the window system's.
using platform::ui::MK_CONTROL;
using platform::ui::MK_SHIFT;
using platform::ui::pointOf;
using platform::ui::pointParam;
using platform::ui::WHEEL_DELTA;
using platform::ui::WM_LBUTTONDOWN;
using platform::ui::WM_LBUTTONUP;
using platform::ui::WM_MOUSEMOVE;
using platform::ui::WM_MOUSEWHEEL;
using platform::ui::WM_RBUTTONDOWN;
using platform::ui::WM_RBUTTONUP;

inline constexpr UINT WM_ACTIVATE = 0x0006;
inline constexpr UINT WM_SETTINGCHANGE = 0x001A;
inline constexpr UINT WM_SETCURSOR = 0x0020;
inline constexpr UINT WM_NCHITTEST = 0x0084;
inline constexpr UINT WM_NCLBUTTONDOWN = 0x00A1;
inline constexpr UINT WM_NCLBUTTONDBLCLK = 0x00A3;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_CAPTURECHANGED = 0x0215;

inline constexpr int WA_ACTIVE = 1;
inline constexpr int WA_CLICKACTIVE = 2;

inline constexpr int HTCLIENT = 1;
// The hit-test code the tab control answers over its splitter.
inline constexpr int HTSPLITTER = 0xFFF0;

enum class CursorShape { arrow, sizeNorthSouth };

}  // namespace lorvane
