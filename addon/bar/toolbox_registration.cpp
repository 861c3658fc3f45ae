#include "addon/bar/toolbox_registration.h"

#include "addon/bar/toolbox.h"

namespace addon {

void registerToolboxView() {
    registerToolboxViewFactory(
        [](const ToolboxViewRequest& request) -> std::unique_ptr<ToolboxView> {
            auto view = std::make_unique<Toolbox>(request.pageBrowser, request.theme);
            if (!view->create(request.band, request.rect)) {
                return nullptr;
            }
            view->loadPage(request.pageAddress);
            return view;
        });
}

}  // namespace addon
