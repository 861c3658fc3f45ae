// The system colours (GetSysColor) as COLORREF values 0x00BBGGRR, with the classic
// defaults; setSystemColor changes one as the user's settings would, after which the
// program is told with WM_SETTINGCHANGE.
//
// Contract: thread-safe; an unknown index answers 0 (black).
#pragma once

#include <cstdint>

namespace platform::ui {

using COLORREF = std::uint32_t;

inline constexpr int COLOR_WINDOW = 5;
inline constexpr int COLOR_WINDOWTEXT = 8;
inline constexpr int COLOR_CAPTIONTEXT = 9;
inline constexpr int COLOR_HIGHLIGHT = 13;
inline constexpr int COLOR_HIGHLIGHTTEXT = 14;
inline constexpr int COLOR_BTNFACE = 15;
inline constexpr int COLOR_BTNSHADOW = 16;
inline constexpr int COLOR_GRAYTEXT = 17;
inline constexpr int COLOR_BTNHIGHLIGHT = 20;
inline constexpr int COLOR_3DDKSHADOW = 21;
inline constexpr int COLOR_INFOTEXT = 23;
inline constexpr int COLOR_INFOBK = 24;

constexpr COLORREF rgb(int red, int green, int blue) {
    return static_cast<COLORREF>(red & 0xFF) | (static_cast<COLORREF>(green & 0xFF) << 8) |
           (static_cast<COLORREF>(blue & 0xFF) << 16);
}
constexpr int redOf(COLORREF color) {
    return static_cast<int>(color & 0xFF);
}
constexpr int greenOf(COLORREF color) {
    return static_cast<int>((color >> 8) & 0xFF);
}
constexpr int blueOf(COLORREF color) {
    return static_cast<int>((color >> 16) & 0xFF);
}
// The same colour as an opaque 0xAARRGGBB value for drawing on a bitmap.
constexpr std::uint32_t toArgb(COLORREF color) {
    return 0xFF000000u | (static_cast<std::uint32_t>(redOf(color)) << 16) |
           (static_cast<std::uint32_t>(greenOf(color)) << 8) |
           static_cast<std::uint32_t>(blueOf(color));
}

COLORREF systemColor(int index);
void setSystemColor(int index, COLORREF color);
// Back to the classic defaults.
void resetSystemColors();

}  // namespace platform::ui
