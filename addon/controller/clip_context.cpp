#include "addon/controller/clip_context.h"

namespace addon {

const std::shared_ptr<CommandProcessor>& ClipSubContext::commandProcessor() {
    if (!processor) {
        // Each execute and undo lays the command's page out again at once, so the next
        // measurement sees the change.
        processor = std::make_shared<CommandProcessor>([](ICommand& command) {
            if (const auto& page = command.context().document) {
                page->recalc(true);
            }
        });
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
