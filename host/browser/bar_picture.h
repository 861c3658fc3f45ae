// The explorer bar's picture as the window shows it: the bar's screen image, with the side
// pane of the other program in it, in a cairo image surface. The pane's program is asked
// for its picture (some 675 KB over the socket) only when the bar's screen image state
// changed (CrossProcessWindows::screenImageState: a few numbers), so an idle bar costs
// neither process more than those short calls.
//
// Contract: on the window's user-interface thread. The surface belongs to the picture and
// stays valid until the next `refresh` or `forget`, or the picture's end. Never throws but
// std::bad_alloc.
#pragma once

#include <cairo.h>

#include "platform/ui/cross_process_windows.h"

namespace host::browser {

class BarPicture {
  public:
    BarPicture() = default;
    ~BarPicture();
    BarPicture(const BarPicture&) = delete;
    BarPicture& operator=(const BarPicture&) = delete;

    // Reads the bar's picture again when what it is made of changed; true when it did.
    bool refresh(const platform::ui::CrossProcessWindows& windows, platform::ui::HWND bar);
    // The picture last read; null before the first or when the bar showed nothing.
    cairo_surface_t* surface() const { return surface_; }
    // Drops the picture (the bar closed), so the next refresh reads it whole.
    void forget();

    // How many times the bar's screen image was read.
    int reads() const { return reads_; }

  private:
    cairo_surface_t* surface_ = nullptr;
    platform::ui::HWND bar_;
    platform::ui::ScreenImageState state_;
    int reads_ = 0;
};

}  // namespace host::browser
