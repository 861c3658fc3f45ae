// Plain value types and constants of the window system stand-in: window handles, message
// parameters, rectangles, message and notification codes, dialog results and message-box
// flags. Values only; no state, thread-safe.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace platform::ui {

using UINT = unsigned int;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// A window handle: an opaque number, 0 for "no window". Numbers are never reused within a
// process, so a stale handle simply names no window.
struct HWND {
    std::uint64_t value = 0;

    constexpr explicit operator bool() const { return value != 0; }
    friend constexpr bool operator==(HWND, HWND) = default;
    friend constexpr auto operator<=>(HWND, HWND) = default;
};

struct Point {
    int x = 0;
    int y = 0;
    friend constexpr bool operator==(Point, Point) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr bool empty() const { return right <= left || bottom <= top; }
    constexpr Rect offset(int dx, int dy) const {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    friend constexpr bool operator==(Rect, Rect) = default;
};

constexpr WPARAM makeWParam(unsigned low, unsigned high) {
    return static_cast<WPARAM>((low & 0xFFFFu) | ((high & 0xFFFFu) << 16));
}
constexpr unsigned lowWord(std::uintptr_t value) {
    return value & 0xFFFFu;
}
constexpr unsigned highWord(std::uintptr_t value) {
    return (value >> 16) & 0xFFFFu;
}

// Window messages.
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr UINT WM_SETREDRAW = 0x000B;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_QUIT = 0x0012;
inline constexpr UINT WM_SHOWWINDOW = 0x0018;
inline constexpr UINT WM_COPYDATA = 0x004A;
inline constexpr UINT WM_NOTIFY = 0x004E;
// lParam points at a Rect of the sender's: with wParam TRUE the proposed client rectangle
// in the parent's client coordinates, which the procedure may narrow; the window takes the
// rectangle the procedure leaves. Sent within the window's own thread only.
inline constexpr UINT WM_NCCALCSIZE = 0x0083;
inline constexpr UINT WM_INITDIALOG = 0x0110;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_USER = 0x0400;

// Control notifications carried by WM_COMMAND (high word of wParam).
inline constexpr UINT BN_CLICKED = 0;
inline constexpr UINT BN_DOUBLECLICKED = 5;
inline constexpr UINT EN_CHANGE = 0x0300;
inline constexpr UINT LBN_SELCHANGE = 1;
inline constexpr UINT LBN_DBLCLK = 2;
inline constexpr UINT CBN_SELCHANGE = 1;
inline constexpr UINT CBN_EDITCHANGE = 5;

// Notifications carried by WM_NOTIFY (lParam), from list views and similar controls.
inline constexpr int NM_CLICK = -2;
inline constexpr int NM_DBLCLK = -3;
inline constexpr int NM_RETURN = -4;
inline constexpr int LVN_ITEMCHANGED = -101;

// Dialog and message-box results.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;
inline constexpr int IDC_STATIC = -1;

// Message-box flags.
inline constexpr UINT MB_OK = 0x0;
inline constexpr UINT MB_OKCANCEL = 0x1;
inline constexpr UINT MB_ABORTRETRYIGNORE = 0x2;
inline constexpr UINT MB_YESNOCANCEL = 0x3;
inline constexpr UINT MB_YESNO = 0x4;
inline constexpr UINT MB_RETRYCANCEL = 0x5;
inline constexpr UINT MB_TYPEMASK = 0xF;
inline constexpr UINT MB_ICONERROR = 0x10;
inline constexpr UINT MB_ICONQUESTION = 0x20;
inline constexpr UINT MB_ICONWARNING = 0x30;
inline constexpr UINT MB_ICONINFORMATION = 0x40;
inline constexpr UINT MB_DEFBUTTON2 = 0x100;
inline constexpr UINT MB_DEFBUTTON3 = 0x200;
inline constexpr UINT MB_DEFMASK = 0xF00;

// Menu flags (states and popup tracking).
inline constexpr UINT MF_UNCHECKED = 0x0;
inline constexpr UINT MF_GRAYED = 0x1;
inline constexpr UINT MF_DISABLED = 0x2;
inline constexpr UINT MF_CHECKED = 0x8;
inline constexpr UINT MF_POPUP = 0x10;
inline constexpr UINT MF_SEPARATOR = 0x800;
inline constexpr UINT TPM_RETURNCMD = 0x0100;

// SetWindowPos flags.
inline constexpr UINT SWP_NOSIZE = 0x1;
inline constexpr UINT SWP_NOMOVE = 0x2;
inline constexpr UINT SWP_NOZORDER = 0x4;
inline constexpr UINT SWP_NOCOPYBITS = 0x100;
inline constexpr UINT SWP_NOOWNERZORDER = 0x200;

// Standard clipboard formats.
inline constexpr UINT CF_TEXT = 1;
inline constexpr UINT CF_UNICODETEXT = 13;

}  // namespace platform::ui

template <>
struct std::hash<platform::ui::HWND> {
    std::size_t operator()(platform::ui::HWND window) const noexcept {
        return std::hash<std::uint64_t>{}(window.value);
    }
};
