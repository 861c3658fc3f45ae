// Window messages, hit-test codes, virtual keys and cursor names that the side pane handles
// beyond the window system's common set. Values only.
#pragma once

#include "platform/ui/types.h"

namespace lorvane {

using platform::ui::LPARAM;
using platform::ui::UINT;

inline constexpr UINT WM_ACTIVATE = 0x0006;
inline constexpr UINT WM_SETTINGCHANGE = 0x001A;
inline constexpr UINT WM_SETCURSOR = 0x0020;
inline constexpr UINT WM_NCHITTEST = 0x0084;
inline constexpr UINT WM_NCLBUTTONDOWN = 0x00A1;
inline constexpr UINT WM_NCLBUTTONDBLCLK = 0x00A3;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_CAPTURECHANGED = 0x0215;

inline constexpr int WA_ACTIVE = 1;
inline constexpr int WA_CLICKACTIVE = 2;

inline constexpr int HTCLIENT = 1;
// The hit-test code the tab control answers over its splitter.
inline constexpr int HTSPLITTER = 0xFFF0;

enum class CursorShape { arrow, sizeNorthSouth };

// Mouse positions travel in lParam as two signed 16-bit words, x low.
constexpr LPARAM pointParam(int x, int y) {
    return static_cast<LPARAM>((static_cast<unsigned>(x) & 0xFFFFu) |
                               ((static_cast<unsigned>(y) & 0xFFFFu) << 16));
}
constexpr platform::ui::Point pointOf(LPARAM value) {
    return {static_cast<short>(value & 0xFFFF), static_cast<short>((value >> 16) & 0xFFFF)};
}

}  // namespace lorvane
