// The stand-in windows of the browser's one tab, as the browser lays them out: the frame
// ("IEFrame") at the screen's origin, the content window ("Shell DocObject View") holding
// the page's window ("Internet Explorer_Server"), the toolbox band the add-on puts above the
// content window, and the explorer bar's window ("BaseBar") at the frame's left. The GTK
// window shows these places one to one: a frame point is a point of the window's drawing
// area.
//
// Contract: the user-interface thread. The frame owns its windows and destroys them.
#pragma once

#include "platform/ui/types.h"

namespace host::browser {

class BrowserFrame {
  public:
    static constexpr int kScrollBarWidth = 14;

    BrowserFrame();
    ~BrowserFrame();
    BrowserFrame(const BrowserFrame&) = delete;
    BrowserFrame& operator=(const BrowserFrame&) = delete;

    platform::ui::HWND frame() const { return frame_; }
    platform::ui::HWND pageWindow() const { return server_; }

    // Places every window for a frame of this client size: the explorer bar (when shown)
    // at the left over the whole height, the content window beside it (its band, when
    // there is one, takes the top of it), the page's window filling the content window.
    void arrange(int width, int height);

    // Frame rectangles of what the window shows; empty when not shown.
    platform::ui::Rect pageArea() const;
    platform::ui::Rect toolboxArea() const;
    platform::ui::Rect explorerBarArea() const;
    // The explorer bar's window that draws the side pane (the host window in its bar), or
    // none.
    platform::ui::HWND explorerBarWindow() const;
    platform::ui::HWND toolboxWindow() const;

  private:
    platform::ui::HWND frame_;
    platform::ui::HWND view_;
    platform::ui::HWND server_;
};

// True when `point` lies inside `rect` (left and top inclusive, right and bottom not).
bool inside(const platform::ui::Rect& rect, int x, int y);

}  // namespace host::browser
