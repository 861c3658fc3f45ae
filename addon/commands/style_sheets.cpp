#include "addon/commands/style_sheets.h"

#include "platform/dom/style/style_sheet.h"

namespace addon {

void disableStyleSheets(ICommandContext& context) {
    if (!context.document) {
        return;
    }
    for (const auto& sheet : context.document->styleSheets()) {
        context.savedSheets.push_back({sheet, sheet->disabled()});
        sheet->setDisabled(true);
    }
}

void restoreStyleSheets(ICommandContext& context) {
    while (!context.savedSheets.empty()) {
        const SavedSheet saved = std::move(context.savedSheets.back());
        context.savedSheets.pop_back();
        saved.sheet->setDisabled(saved.wasDisabled);
    }
}

}  // namespace addon
