#include "addon/window/selection_site.h"

#include "addon/window/command_dispatcher.h"
#include "addon/window/window_operations.h"
#include "platform/ui/window_system.h"

namespace addon {

SelectionSite::SelectionSite(std::shared_ptr<dom::Document> document, platform::ui::HWND frame)
    : frame_(frame), engine_(std::move(document), *this) {}

int SelectionSite::dispatchCommand(const std::wstring& command) {
    return dispatchSelectionCommand(command, &engine_);
}

void SelectionSite::requestModeChange(std::int32_t, std::int32_t next) {
    setClipModeBySelection(next, &engine_);
}

void SelectionSite::animateFrame(const platform::ui::Rect& from, const platform::ui::Rect& to,
                                 int frameDelay) {
    zoomRectangle(from, to, frameDelay);
}

std::uint64_t SelectionSite::tickCount() {
    // The window system's own clock, which also paces the selection's animation.
    return platform::ui::windows().tickCount();
}

}  // namespace addon
