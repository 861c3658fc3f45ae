#include "addon/bar/toolbar_document.h"

namespace addon {

std::shared_ptr<platform::dom::Document> toolbarPageOf(
    const platform::com::ComPtr<platform::browser::IDispatch>& document) {
    const auto typed = document.as<IToolbarDocument>();
    return typed ? typed->page() : nullptr;
}

}  // namespace addon
