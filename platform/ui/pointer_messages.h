// The pointer's window messages and what travels with them: the keys and buttons held
// (wParam), the point in the receiving window's client coordinates (lParam: two signed
// 16-bit words, x low) and a wheel's turn (the high word of wParam, WHEEL_DELTA for one
// notch, positive away from the user). Values only.
#pragma once

#include "platform/ui/types.h"

namespace platform::ui {

inline constexpr UINT WM_CONTEXTMENU = 0x007B;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UINT WM_RBUTTONDOWN = 0x0204;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
inline constexpr UINT WM_MBUTTONDOWN = 0x0207;
inline constexpr UINT WM_MBUTTONUP = 0x0208;
inline constexpr UINT WM_MOUSEWHEEL = 0x020A;

inline constexpr WPARAM MK_LBUTTON = 0x1;
inline constexpr WPARAM MK_RBUTTON = 0x2;
inline constexpr WPARAM MK_SHIFT = 0x4;
inline constexpr WPARAM MK_CONTROL = 0x8;
inline constexpr WPARAM MK_MBUTTON = 0x10;

inline constexpr int WHEEL_DELTA = 120;

constexpr LPARAM pointParam(int x, int y) {
    return static_cast<LPARAM>((static_cast<unsigned>(x) & 0xFFFFu) |
                               ((static_cast<unsigned>(y) & 0xFFFFu) << 16));
}
constexpr Point pointOf(LPARAM value) {
    return {static_cast<short>(value & 0xFFFF), static_cast<short>((value >> 16) & 0xFFFF)};
}

}  // namespace platform::ui
