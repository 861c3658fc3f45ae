#include "addon/controller/saved_values.h"

#include "addon/controller/dom_helpers.h"
#include "addon/controller/style_sheets.h"

namespace addon {
namespace {

void writeValue(const page::NodePtr& element, const std::wstring& name,
                const std::optional<std::wstring>& value, int flags) {
    if (flags & kValueAttribute) {
        if (value) {
            element->setAttribute(name, *value);
        } else {
            element->removeAttribute(name);
        }
    } else if (!value || value->empty() || *value == L"undefined") {
        element->removeInlineStyle(name);
    } else {
        element->setInlineStyle(name, *value);
    }
}

}  // namespace

std::optional<std::wstring> ownValue(const page::NodePtr& element, const std::wstring& name,
                                     int flags) {
    return (flags & kValueAttribute) ? element->attribute(name) : element->inlineStyle(name);
}

void recordValue(ICommandContext& context, const page::NodePtr& element, const std::wstring& name,
                 int flags) {
    if (element) {
        context.savedValues.push_back({element, name, flags, ownValue(element, name, flags)});
    }
}

void recordedWrite(ICommandContext& context, const page::NodePtr& element, const std::wstring& name,
                   const std::wstring& value, int flags) {
    if (!element) {
        return;
    }
    recordValue(context, element, name, flags);
    writeValue(element, name, value, flags);
}

void undoRecordedWrites(ICommandContext& context) {
    while (!context.savedValues.empty()) {
        const SavedValue saved = std::move(context.savedValues.back());
        context.savedValues.pop_back();
        writeValue(saved.element, saved.name, saved.oldValue, saved.flags);
    }
}

void disableStyleSheets(ICommandContext& context) {
    if (!context.document) {
        return;
    }
    for (const auto& sheet : styleSheetElements(*context.document)) {
        recordedWrite(context, sheet, kStyleSheetDisabled, L"", kValueAttribute);
    }
}

}  // namespace addon
