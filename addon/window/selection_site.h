// The selection engine of one clip context together with the window services the engine
// asks for (SelectionHost): its command strings go to the dispatcher of the window that
// shows the page, its mode requests to the window's mode change, its menus to the tab's
// frame window.
//
// Contract: owns the engine; shared by the clip context and by every call that runs
// inside the engine, so a context cleared during such a call (a command that detaches the
// page) deletes the engine only after the call returns. User-interface thread only.
#pragma once

#include <memory>

#include "addon/selection/clip_selection.h"
#include "addon/selection/selection_host.h"

namespace addon {

class SelectionSite : public SelectionHost {
  public:
    SelectionSite(std::shared_ptr<dom::Document> document, platform::ui::HWND frame);
    SelectionSite(const SelectionSite&) = delete;
    SelectionSite& operator=(const SelectionSite&) = delete;

    ClipSelection& engine() { return engine_; }

    int dispatchCommand(const std::wstring& command) override;
    void requestModeChange(std::int32_t current, std::int32_t next) override;
    platform::ui::HWND browserWindow() override { return frame_; }
    platform::ui::Rect pageViewRect() override { return {}; }
    void animateFrame(const platform::ui::Rect& from, const platform::ui::Rect& to,
                      int frameDelayMs) override;
    std::uint64_t tickCount() override;

  private:
    platform::ui::HWND frame_;
    ClipSelection engine_;
};

}  // namespace addon
