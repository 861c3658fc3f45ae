#include "addon/controller/clip_context.h"

namespace addon {

const std::shared_ptr<CommandProcessor>& ClipSubContext::commandProcessor() {
    if (!processor) {
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
