#include "platform/ui/screen.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace platform::ui {

ScreenSurface::ScreenSurface() = default;

void ScreenSurface::invertSpan(int y, int fromX, int toX) {
    std::uint32_t* row = inverted_.get() + static_cast<std::size_t>(y) * kWidth;
    for (int x = std::max(fromX, 0); x <= std::min(toX, kWidth - 1); ++x)
        row[x] ^= 0x00FFFFFFu;
}

void ScreenSurface::invertOutline(Rect rect, int penWidth) {
    std::lock_guard lock(mutex_);
    if (!inverted_) {
        inverted_.reset(static_cast<std::uint32_t*>(
            std::calloc(static_cast<std::size_t>(kWidth) * kHeight, sizeof(std::uint32_t))));
        if (!inverted_)
            throw std::bad_alloc();
    }
    const int half = std::max(penWidth, 1) / 2;
    const int left = std::min(rect.left, rect.right);
    const int right = std::max(rect.left, rect.right);
    const int top = std::min(rect.top, rect.bottom);
    const int bottom = std::max(rect.top, rect.bottom);
    const int fromY = std::max(top - half, 0);
    const int toY = std::min(bottom + half, kHeight - 1);
    const int fromX = std::max(left - half, 0);
    const int toX = std::min(right + half, kWidth - 1);
    for (int y = fromY; y <= toY; ++y) {
        if (std::abs(y - top) <= half || std::abs(y - bottom) <= half) {
            invertSpan(y, fromX, toX);
            continue;
        }
        // Between the horizontal edges only the two vertical ones, each pixel once where
        // they meet.
        const int leftEdgeEnd = std::min(left + half, toX);
        invertSpan(y, fromX, leftEdgeEnd);
        invertSpan(y, std::max(right - half, leftEdgeEnd + 1), toX);
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
    const std::uint32_t inverted =
        inverted_ ? inverted_[static_cast<std::size_t>(y) * kWidth + x] : 0;
    return 0xFFFFFFFFu ^ inverted;
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
