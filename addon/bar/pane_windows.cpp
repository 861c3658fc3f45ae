#include "addon/bar/pane_windows.h"

#include <memory>

namespace addon {

namespace {

std::unique_ptr<platform::ui::CrossProcessWindows>& service() {
    static std::unique_ptr<platform::ui::CrossProcessWindows> instance;
    return instance;
}

}  // namespace

platform::ui::CrossProcessWindows& paneWindows() {
    auto& instance = service();
    if (!instance) {
        instance = std::make_unique<platform::ui::CrossProcessWindows>();
        instance->start();
    }
    return *instance;
}

void resetPaneWindows() {
    service().reset();
}

}  // namespace addon
