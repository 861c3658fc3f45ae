// What a page's selection engine needs from the window that shows the page: the command
// dispatcher for command strings it does not serve itself, mode changes (which the window
// also shows on its toolbar), the browser's windows for the context menu and the frame
// animation, the readable-content finder for the automatic selection, and the tick count.
//
// Contract: called on the user-interface thread only, while the engine lives. The window
// controller implements it; tests implement it with a recorder.
#pragma once

#include <cstdint>
#include <string>

#include "addon/page/rect.h"
#include "platform/ui/types.h"

namespace addon {

class SelectionHost {
  public:
    virtual ~SelectionHost() = default;

    // Runs a command string of the engine's window; 1 when no handler took it.
    virtual int dispatchCommand(const std::wstring& command) = 0;
    // Asks the window to change the engine's mode from `current` to `next`.
    virtual void requestModeChange(std::int32_t current, std::int32_t next) = 0;
    // The browser's top-level window (no window: the Highlight menu is not shown).
    virtual platform::ui::HWND browserWindow() = 0;
    // Screen rectangle of the window that renders the page.
    virtual platform::ui::Rect pageViewRect() = 0;
    // Plays the frame animation from one screen rectangle to another.
    virtual void animateFrame(const platform::ui::Rect& from, const platform::ui::Rect& to,
                              int frameDelayMs) = 0;
    // Milliseconds of the system tick count.
    virtual std::uint64_t tickCount() = 0;
};

}  // namespace addon
