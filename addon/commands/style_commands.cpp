#include "addon/commands/style_commands.h"

#include <cwctype>

#include "addon/commands/element_walks.h"
#include "addon/commands/saved_values.h"
#include "addon/commands/style_sheets.h"
#include "addon/commands/style_step.h"
#include "addon/page/dom_helpers.h"
#include "common/util/text_conversion.h"
#include "platform/dom/style/cascade.h"

namespace addon {

namespace {

std::wstring lowerTrimmed(std::wstring text) {
    const auto first = text.find_first_not_of(L" \t\r\n");
    const auto last = text.find_last_not_of(L" \t\r\n");
    text = first == std::wstring::npos ? std::wstring() : text.substr(first, last - first + 1);
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

// A colour that lets through all that lies under it: "transparent", or an alpha of 0 in
// rgba()/hsla() (after a comma or a slash) or in a hex colour of four or eight digits.
bool isSeeThrough(const std::wstring& value) {
    const std::wstring colour = lowerTrimmed(value);
    if (colour.empty() || colour == L"transparent" || colour == L"initial" || colour == L"unset")
        return true;
    if (colour.front() == L'#')
        return (colour.size() == 5 && colour.back() == L'0') ||
               (colour.size() == 9 && colour.compare(7, 2, L"00") == 0);
    if (colour.back() != L')' || colour.find(L'(') == std::wstring::npos)
        return false;
    const auto separator = colour.find_last_of(L",/");
    if (separator == std::wstring::npos || separator < colour.find(L'('))
        return false;
    const std::wstring alpha =
        lowerTrimmed(colour.substr(separator + 1, colour.size() - separator - 2));
    return !alpha.empty() && alpha.find_first_not_of(L"0.%") == std::wstring::npos;
}

// Whether the element paints a background of its own: a colour that is not see-through
// or a picture.
bool showsBackground(const dom::Element& element) {
    const auto style = element.currentStyle();
    const std::wstring picture = lowerTrimmed(style->value(dom::PropertyId::BackgroundImage));
    return !isSeeThrough(style->value(dom::PropertyId::BackgroundColor)) ||
           !(picture.empty() || picture == L"none");
}

}  // namespace

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
    // Only boxes with a background of their own turn white: a see-through box (an empty
    // layer laid over the page, as players and pop-ups leave) made white would hide
    // everything under it.
    std::vector<ElementPtr> painted;
    for (const auto& element : walkedElements(context()))
        if (showsBackground(*element))
            painted.push_back(element);
    documentWalk(context(), L"backgroundImage", L"none", 0);
    for (const auto& element : painted)
        recordedWrite(context(), element, L"backgroundColor", L"white", 0);
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
