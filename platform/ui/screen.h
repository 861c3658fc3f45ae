// The screen's device context: one process-wide surface of the desktop's size on which
// the program may draw straight onto the screen, as the selection's zoom animation does.
// Only what that drawing needs is offered: a pen outline in the R2_NOT mix mode (every
// pixel the pen covers is inverted once, so drawing the same outline twice leaves the
// screen as it was) and GdiFlush, which hands the surface to an observer a test may set.
//
// Contract: thread-safe (one lock); the observer runs under it and must not draw.
// Coordinates outside the surface are left out.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/ui/types.h"

namespace platform::ui {

class ScreenSurface {
  public:
    static constexpr int kWidth = 1920;
    static constexpr int kHeight = 1080;
    using FlushObserver = std::function<void(const ScreenSurface&)>;

    ScreenSurface();

    // Inverts the pixels within penWidth / 2 of the rectangle's four edges (its closed
    // five-point outline), each pixel once.
    void invertOutline(Rect rect, int penWidth);
    void flush();

    // 0xAARRGGBB; the surface starts white.
    std::uint32_t pixel(int x, int y) const;
    void setFlushObserver(FlushObserver observer);

  private:
    struct Free {
        void operator()(std::uint32_t* memory) const { std::free(memory); }
    };
    void invertSpan(int y, int fromX, int toX);

    mutable std::recursive_mutex mutex_;
    // What has been inverted of each pixel's white, row by row (0: white): the surface
    // starts white without being filled, its memory taken zeroed on the first drawing.
    std::unique_ptr<std::uint32_t[], Free> inverted_;
    FlushObserver observer_;
};

ScreenSurface& screen();

}  // namespace platform::ui
