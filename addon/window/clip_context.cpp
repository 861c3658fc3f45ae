#include "addon/window/clip_context.h"

namespace addon {

const std::shared_ptr<CommandProcessor>& ClipSubContext::commandProcessor() {
    if (!processor) {
        // No layout after each execute and undo: every write raises the document's
        // version, so the next read of a box lays the page out once, however many
        // commands ran before it.
        processor = std::make_shared<CommandProcessor>();
    }
    return processor;
}

void ClipSubContext::clear() {
    selection.reset();
    processor.reset();
    browser.reset();
    documentEvents.reset();
    windowEvents.reset();
    documentEventsCookie = 0;
    windowEventsCookie = 0;
    document.reset();
}

}  // namespace addon
