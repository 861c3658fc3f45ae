// The font-size and font-weight commands: a fixed value goes to the selection (or the
// page) with its descendants; a step walks each start element's children from the last
// to the first, depth first, before the element itself.
#include <algorithm>
#include <cwctype>

#include "addon/commands/element_walks.h"
#include "addon/commands/saved_values.h"
#include "addon/commands/style_commands.h"
#include "addon/commands/style_step.h"
#include "addon/page/dom_helpers.h"
#include "addon/page/text_case.h"
#include "common/util/text_conversion.h"

namespace addon {
namespace {

// How a stepped element was reached: below a start element, a selected element, or the
// page's body standing in for an empty selection.
enum class StepMode { child = 0, selected = 1, body = 2 };

bool endsWith(const std::wstring& text, const wchar_t* suffix) {
    const std::wstring end(suffix);
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool isRelativeSize(const std::wstring& value) {
    return endsWith(value, L"%") || endsWith(value, L"em") || endsWith(value, L"ex");
}

template <class Step>
void stepTree(const ElementPtr& element, StepMode mode, const Step& step) {
    const auto children = element->children();
    for (auto child = children.rbegin(); child != children.rend(); ++child) {
        if (!isClipOverlay(*child)) {
            stepTree(*child, StepMode::child, step);
        }
    }
    step(element, mode);
}

template <class Step>
void stepStartSet(ICommandContext& context, const Step& step) {
    if (!context.elements.empty()) {
        for (const auto& element : context.elements) {
            if (element) {
                stepTree(element, StepMode::selected, step);
            }
        }
    } else if (context.document && context.document->body()) {
        stepTree(context.document->body(), StepMode::body, step);
    }
}

// The weight a step starts from: 700 for a weight that shows bold ("bold", or a number of
// 700 and more, which is how the browser's own sheet makes headings and "b" bold), 400 for
// every other one. Because numbers below 700 start from 400, repeating a step gives the
// same weight again instead of piling up; counting 700 and more as bold keeps a step from
// making bold text lighter than it was.
int baseWeight(const std::wstring& weight) {
    if (weight == L"bold") {
        return 700;
    }
    if (!weight.empty() && std::iswdigit(weight.front()) && common::toLong(weight) >= 700) {
        return 700;
    }
    return 400;
}

}  // namespace

void FontSizeCommand::execute() {
    ICommandContext& context = this->context();
    if (!isStep()) {
        selectionOrDocumentWalk(context, L"fontSize", argument(), kWalkDescendants);
        return;
    }
    const int step = stepNumber();
    stepStartSet(context, [&](const ElementPtr& element, StepMode mode) {
        std::wstring size = getElementValue(element, L"fontSize", 0);
        if (mode == StepMode::child && isRelativeSize(size)) {
            size.clear();
        } else if (mode == StepMode::selected && isRelativeSize(size)) {
            const std::wstring own = getElementValue(element, L"fontSize", kValueInlineOnly);
            size = own.empty() || own == L"undefined" ? L"100%" : own;
        }
        recordedWrite(context, element, L"fontSize", stepFontSize(size, step), 0);
    });
}

void FontWeightCommand::execute() {
    ICommandContext& context = this->context();
    const std::wstring lower = lowerText(argument());
    if (lower == L"bolder" || lower == L"lighter") {
        selectionOrDocumentWalk(context, L"fontWeight", argument(), 0);
        return;
    }
    if (!isStep()) {
        selectionOrDocumentWalk(context, L"fontWeight", argument(), kWalkDescendants);
        return;
    }
    const int step = stepNumber();
    stepStartSet(context, [&](const ElementPtr& element, StepMode mode) {
        std::wstring weight = lowerText(getElementValue(element, L"fontWeight", 0));
        if (mode == StepMode::selected) {
            const std::wstring own = getElementValue(element, L"fontWeight", kValueInlineOnly);
            if (own.empty() || lowerText(own) == L"undefined") {
                weight = L"normal";
            }
        }
        if (weight == L"bolder" || weight == L"lighter") {
            return;
        }
        const int stepped = std::clamp(baseWeight(weight) + step, 100, 900);
        recordedWrite(context, element, L"fontWeight", common::intToString(stepped), 0);
    });
}

}  // namespace addon
