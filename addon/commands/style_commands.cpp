#include "addon/commands/style_commands.h"

#include "addon/commands/element_walks.h"
#include "addon/commands/saved_values.h"
#include "addon/commands/style_sheets.h"
#include "addon/commands/style_step.h"
#include "addon/page/dom_helpers.h"
#include "common/util/text_conversion.h"

namespace addon {

void DeleteCommand::execute() {
    selectedWalk(context(), L"display", L"none", 0);
}
void DeleteCommand::undo() {
    undoRecordedWrites(context());
}

void RemoveImageCommand::execute() {
    for (const wchar_t* tag : {L"img", L"object", L"embed", L"applet"}) {
        tagWalk(context(), tag, L"display", L"none", 0);
    }
    documentWalk(context(), L"backgroundImage", L"none", 0);
}
void RemoveImageCommand::undo() {
    undoRecordedWrites(context());
}

void RemoveBackgroundCommand::execute() {
    documentWalk(context(), L"backgroundImage", L"none", 0);
    documentWalk(context(), L"backgroundColor", L"white", 0);
    documentWalk(context(), L"color", L"black", 0);
}
void RemoveBackgroundCommand::undo() {
    undoRecordedWrites(context());
}

void RemoveStyleCommand::execute() {
    disableStyleSheets(context());
    documentWalk(context(), L"style", L"", kValueAttribute);
}
void RemoveStyleCommand::undo() {
    undoRecordedWrites(context());
}

void ArgumentCommand::undo() {
    undoRecordedWrites(context());
}

bool ArgumentCommand::isStep() const {
    return !argument_.empty() && (argument_.front() == L'+' || argument_.front() == L'-');
}

int ArgumentCommand::stepNumber() const {
    return common::toLong(argument_);
}

void ChangeWidthCommand::execute() {
    ICommandContext& context = this->context();
    std::vector<ElementPtr> targets = context.elements;
    if (targets.empty() && context.document) {
        targets.push_back(context.document->body());
    }
    for (const auto& target : targets) {
        if (!target) {
            continue;
        }
        const std::wstring width =
            isStep() ? stepLength(getElementValue(target, L"width", 0), stepNumber()) : argument();
        recordedWrite(context, target, L"width", width, 0);
        recordedWrite(context, target, L"margin", width == L"100%" ? L"0" : L"auto", 0);
        recordedWrite(context, target, L"left", L"", 0);
        recordedWrite(context, target, L"maxWidth", L"10000px", 0);
        recordedWrite(context, target, L"minWidth", L"0px", 0);
    }
}

void FontTypeCommand::execute() {
    selectionOrDocumentWalk(context(), L"fontFamily", argument(), kWalkDescendants);
}

}  // namespace addon
