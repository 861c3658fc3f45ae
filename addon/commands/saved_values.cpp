#include "addon/commands/saved_values.h"

#include "addon/commands/style_sheets.h"
#include "addon/page/dom_helpers.h"
#include "addon/page/text_case.h"

namespace addon {
namespace {

// The attribute a write changes: the named one, or "style" for a style property.
std::wstring touchedAttribute(const std::wstring& name, int flags) {
    return (flags & kValueAttribute) ? name : L"style";
}

void writeValue(const ElementPtr& element, const std::wstring& name, const std::wstring& value,
                int flags) {
    if (flags & kValueAttribute) {
        // An empty inline style is no inline style at all.
        if (value.empty() && lowerText(name) == L"style") {
            element->removeAttribute(name);
        } else {
            element->setAttribute(name, value);
        }
    } else {
        setInlineStyleValue(element, name, value == L"undefined" ? L"" : value);
    }
}

void restoreAttribute(const SavedValue& saved) {
    if (saved.oldValue) {
        saved.element->setAttributeAt(saved.position, saved.name, *saved.oldValue);
    } else {
        saved.element->removeAttribute(saved.name);
    }
}

}  // namespace

void recordValue(ICommandContext& context, const ElementPtr& element, const std::wstring& name,
                 int flags) {
    if (element) {
        const std::wstring attribute = touchedAttribute(name, flags);
        context.savedValues.push_back({element, attribute, kValueAttribute,
                                       element->getAttribute(attribute),
                                       element->attributePosition(attribute).value_or(0)});
    }
}

void recordedWrite(ICommandContext& context, const ElementPtr& element, const std::wstring& name,
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
        restoreAttribute(saved);
    }
    restoreStyleSheets(context);
}

}  // namespace addon
