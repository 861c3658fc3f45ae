#include "platform/ui/system_colors.h"

#include <array>
#include <atomic>
#include <mutex>

namespace platform::ui {

namespace {

constexpr std::size_t kColorCount = 31;

constexpr std::array<COLORREF, kColorCount> classicColors() {
    std::array<COLORREF, kColorCount> colors{};
    colors[COLOR_WINDOW] = rgb(255, 255, 255);
    colors[COLOR_WINDOWTEXT] = rgb(0, 0, 0);
    colors[COLOR_CAPTIONTEXT] = rgb(255, 255, 255);
    colors[COLOR_HIGHLIGHT] = rgb(51, 153, 255);
    colors[COLOR_HIGHLIGHTTEXT] = rgb(255, 255, 255);
    colors[COLOR_BTNFACE] = rgb(240, 240, 240);
    colors[COLOR_BTNSHADOW] = rgb(160, 160, 160);
    colors[COLOR_GRAYTEXT] = rgb(109, 109, 109);
    colors[COLOR_BTNHIGHLIGHT] = rgb(255, 255, 255);
    colors[COLOR_3DDKSHADOW] = rgb(105, 105, 105);
    colors[COLOR_INFOTEXT] = rgb(0, 0, 0);
    colors[COLOR_INFOBK] = rgb(255, 255, 225);
    return colors;
}

void fillClassic(std::array<std::atomic<COLORREF>, kColorCount>& table) {
    const auto classic = classicColors();
    for (std::size_t i = 0; i < kColorCount; ++i)
        table[i] = classic[i];
}

std::array<std::atomic<COLORREF>, kColorCount>& colorTable() {
    static std::array<std::atomic<COLORREF>, kColorCount> table;
    static std::once_flag filled;
    std::call_once(filled, [] { fillClassic(table); });
    return table;
}

}  // namespace

COLORREF systemColor(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= kColorCount)
        return 0;
    return colorTable()[static_cast<std::size_t>(index)];
}

void setSystemColor(int index, COLORREF color) {
    if (index >= 0 && static_cast<std::size_t>(index) < kColorCount)
        colorTable()[static_cast<std::size_t>(index)] = color;
}

void resetSystemColors() {
    fillClassic(colorTable());
}

}  // namespace platform::ui
