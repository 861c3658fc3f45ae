#include "platform/ui/screen.h"

#include <algorithm>

namespace platform::ui {

ScreenSurface::ScreenSurface() : pixels_(static_cast<std::size_t>(kWidth) * kHeight, 0xFFFFFFFFu) {}

void ScreenSurface::invertOutline(Rect rect, int penWidth) {
    std::lock_guard lock(mutex_);
    const int half = std::max(penWidth, 1) / 2;
    const int left = std::min(rect.left, rect.right);
    const int right = std::max(rect.left, rect.right);
    const int top = std::min(rect.top, rect.bottom);
    const int bottom = std::max(rect.top, rect.bottom);
    const auto nearEdge = [&](int x, int y) {
        const bool withinX = x >= left - half && x <= right + half;
        const bool withinY = y >= top - half && y <= bottom + half;
        const bool onVertical = std::abs(x - left) <= half || std::abs(x - right) <= half;
        const bool onHorizontal = std::abs(y - top) <= half || std::abs(y - bottom) <= half;
        return withinX && withinY && (onVertical || onHorizontal);
    };
    const int fromY = std::max(top - half, 0);
    const int toY = std::min(bottom + half, kHeight - 1);
    const int fromX = std::max(left - half, 0);
    const int toX = std::min(right + half, kWidth - 1);
    for (int y = fromY; y <= toY; ++y) {
        for (int x = fromX; x <= toX; ++x) {
            if (nearEdge(x, y)) {
                std::uint32_t& value = pixels_[static_cast<std::size_t>(y) * kWidth + x];
                value = (value & 0xFF000000u) | (~value & 0x00FFFFFFu);
            }
        }
    }
}

void ScreenSurface::flush() {
    std::lock_guard lock(mutex_);
    if (observer_) {
        observer_(*this);
    }
}

std::uint32_t ScreenSurface::pixel(int x, int y) const {
    std::lock_guard lock(mutex_);
    if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) {
        return 0;
    }
    return pixels_[static_cast<std::size_t>(y) * kWidth + x];
}

void ScreenSurface::setFlushObserver(FlushObserver observer) {
    std::lock_guard lock(mutex_);
    observer_ = std::move(observer);
}

ScreenSurface& screen() {
    static ScreenSurface surface;
    return surface;
}

}  // namespace platform::ui
