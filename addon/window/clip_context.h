// One clip context: the browser object whose document is being clipped, the selection
// engine over that document, the document and window event sinks advised on it, and the
// document's undo history.
//
// Contract: a context with a null browser is free. The selection and the command
// processor are shared, so that a call running inside either keeps it alive when the
// context is cleared meanwhile. `clear` drops everything but does not unadvise (the
// window table does that first). User-interface thread only.
#pragma once

#include <cstdint>
#include <memory>

#include "addon/commands/command_processor.h"
#include "addon/page/html_document.h"
#include "addon/window/selection_site.h"
#include "platform/browser/web_browser.h"

namespace addon {

class ClipSubContext {
  public:
    ClipSubContext() = default;
    ClipSubContext(const ClipSubContext&) = delete;
    ClipSubContext& operator=(const ClipSubContext&) = delete;
    virtual ~ClipSubContext() = default;

    bool isFree() const { return !browser; }
    ClipSelection* selectionEngine() const { return selection ? &selection->engine() : nullptr; }
    // The processor, created when the context has none yet.
    const std::shared_ptr<CommandProcessor>& commandProcessor();
    void clear();

    platform::com::ComPtr<platform::browser::WebBrowser> browser;
    std::shared_ptr<SelectionSite> selection;
    platform::com::ComPtr<IDispatch> documentEvents;
    platform::com::ComPtr<IDispatch> windowEvents;
    std::uint32_t documentEventsCookie = 0;
    std::uint32_t windowEventsCookie = 0;
    std::shared_ptr<CommandProcessor> processor;
    // The document the sinks are advised on and the selection works over.
    platform::com::ComPtr<HtmlDocument> document;
};

}  // namespace addon
