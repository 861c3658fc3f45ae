// The font-size and font-weight commands: a fixed value goes to the selection (or the
// page) with its descendants; a step walks each start element's children from the last
// to the first, depth first, before the element itself.
#include <algorithm>
#include <cwctype>

#include "addon/controller/dom_helpers.h"
#include "addon/controller/element_walks.h"
#include "addon/controller/saved_values.h"
#include "addon/controller/style_commands.h"
#include "addon/controller/style_step.h"
#include "addon/controller/text_case.h"
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

bool isHeadingLikeTag(const std::wstring& tag) {
    return tag == L"h1" || tag == L"h2" || tag == L"h3" || tag == L"h4" || tag == L"h5" ||
           tag == L"h6" || tag == L"b" || tag == L"strong" || tag == L"th";
}

// The weight the element shows: inline, else its current style ("700" for the elements
// that are bold by default), else the bold of those elements.
std::wstring currentWeight(const ElementPtr& element) {
    const std::wstring weight = getElementValue(element, L"fontWeight", 0);
    if (weight != L"undefined" && !weight.empty()) {
        return weight;
    }
    return isHeadingLikeTag(getTagName(element)) ? L"bold" : L"normal";
}

int weightNumber(const std::wstring& weight) {
    const std::wstring lower = lowerText(weight);
    if (lower == L"bold") {
        return 700;
    }
    if (!lower.empty() && std::iswdigit(lower.front())) {
        return std::clamp(common::toLong(lower), 100, 900);
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
    stepStartSet(context, [&](const ElementPtr& element, StepMode) {
        const std::wstring weight = lowerText(currentWeight(element));
        if (weight == L"bolder" || weight == L"lighter") {
            return;
        }
        const int stepped = std::clamp(weightNumber(weight) + step, 100, 900);
        recordedWrite(context, element, L"fontWeight", common::intToString(stepped), 0);
    });
}

}  // namespace addon
