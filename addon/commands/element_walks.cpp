#include "addon/commands/element_walks.h"

#include <algorithm>

#include "addon/commands/saved_values.h"
#include "addon/page/dom_helpers.h"

namespace addon {
namespace {

void writeAll(ICommandContext& context, std::vector<ElementPtr> elements, const std::wstring& name,
              const std::wstring& value, int flags) {
    if (flags & kWalkReverse) {
        std::reverse(elements.begin(), elements.end());
    }
    for (const auto& element : elements) {
        recordedWrite(context, element, name, value, flags & kValueAttribute);
    }
}

}  // namespace

void selectedWalk(ICommandContext& context, const std::wstring& name, const std::wstring& value,
                  int flags) {
    for (const auto& element : context.elements) {
        if (!element) {
            continue;
        }
        if (flags & kWalkDescendants) {
            writeAll(context, element->all(), name, value, flags);
        }
        recordedWrite(context, element, name, value, flags & kValueAttribute);
    }
}

void documentWalk(ICommandContext& context, const std::wstring& name, const std::wstring& value,
                  int flags) {
    writeAll(context, walkedElements(context), name, value, flags);
}

std::vector<ElementPtr> walkedElements(const ICommandContext& context) {
    std::vector<ElementPtr> elements;
    if (!context.document) {
        return elements;
    }
    for (const auto& element : allElements(*context.document)) {
        if (!isClipOverlay(element)) {
            elements.push_back(element);
        }
    }
    return elements;
}

void tagWalk(ICommandContext& context, const std::wstring& tag, const std::wstring& name,
             const std::wstring& value, int flags) {
    if (context.document) {
        writeAll(context, elementsByTag(*context.document, tag), name, value, flags);
    }
}

void selectionOrDocumentWalk(ICommandContext& context, const std::wstring& name,
                             const std::wstring& value, int flags) {
    if (context.elements.empty()) {
        documentWalk(context, name, value, flags);
    } else {
        selectedWalk(context, name, value, flags);
    }
}

}  // namespace addon
