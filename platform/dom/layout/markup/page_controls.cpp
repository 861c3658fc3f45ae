#include "platform/dom/layout/markup/page_controls.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "platform/dom/element.h"
#include "platform/dom/inner_text.h"
#include "platform/dom/tag_names.h"
#include "platform/imaging/canvas/text_font.h"
#include "platform/text/utf.h"

namespace platform::dom {

namespace {

constexpr double kControlFontPixels = 40.0 / 3.0;
// A select's room beside its longest option: the arrow and the padding around the text.
constexpr double kSelectExtraPixels = 20;
// How far the options of a group stand in from the others.
constexpr double kGroupIndentPixels = 15;

// The width of a control's text in its font, in fractional pixels.
double controlTextWidth(const std::wstring& text) {
    constexpr int kMeasuredPixels = 16;
    thread_local const imaging::TextFont font("Arial", kMeasuredPixels, 400, false);
    return font.width(platform::text::toUtf8(text)) * kControlFontPixels / kMeasuredPixels;
}

// The text of an option as a browser shows it: white space collapsed and trimmed.
std::wstring optionText(const Element& option) {
    std::wstring text;
    for (const auto& child : option.childNodes())
        if (child->nodeType() == NodeType::Text)
            text += child->nodeValue();
    return collapseWhiteSpace(text);
}

double longestOption(const Element& select, double indent = 0) {
    double longest = 0;
    for (const auto& child : select.childNodes()) {
        if (child->nodeType() != NodeType::Element)
            continue;
        const auto& element = static_cast<const Element&>(*child);
        if (element.hasTag(L"OPTION"))
            longest = std::max(longest, indent + controlTextWidth(optionText(element)));
        else if (element.hasTag(L"OPTGROUP") && indent == 0)
            longest = std::max(longest, longestOption(element, kGroupIndentPixels));
    }
    return longest;
}

std::string pixels(const char* property, double width) {
    return std::string(property) + ":" + std::to_string(std::lround(width)) + "px;";
}

std::wstring typeOf(const Element& input) {
    return asciiLower(input.getAttribute(L"type").value_or(L""));
}

bool isButton(const Element& element) {
    if (!element.hasTag(L"INPUT"))
        return false;
    const std::wstring type = typeOf(element);
    return type == L"submit" || type == L"reset" || type == L"button";
}

bool isTextField(const std::wstring& type) {
    return type.empty() || type == L"text" || type == L"search" || type == L"email" ||
           type == L"url" || type == L"tel" || type == L"number" || type == L"password";
}

// The option a drop-down shows: the last one marked selected, else the first one.
const Element* chosenOption(const Element& select) {
    const Element* first = nullptr;
    const Element* chosen = nullptr;
    for (const auto& option : select.getElementsByTagName(L"OPTION")) {
        if (!first)
            first = option.get();
        if (option->hasAttribute(L"selected"))
            chosen = option.get();
    }
    return chosen ? chosen : first;
}

// A select that shows one option at a time, not a list.
bool isDropDown(const Element& select) {
    if (select.hasAttribute(L"multiple"))
        return false;
    const std::wstring size = select.getAttribute(L"size").value_or(L"");
    return size.empty() || std::wcstol(size.c_str(), nullptr, 10) <= 1;
}

}  // namespace

const std::string& controlSheet() {
    static const std::string sheet = [] {
        const std::string label = kControlLabelAttribute;
        const std::string placeholder = kControlPlaceholderAttribute;
        return "input[" + label + "]::before,select[" + label + "]::before{content:attr(" + label +
               ")}input[" + placeholder + "]::before{content:attr(" + placeholder +
               ");color:#757575}select[" + label + "] option,select[" + label +
               "] optgroup{display:none !important}";
    }();
    return sheet;
}

std::string controlStyle(const Element& element) {
    if (element.hasTag(L"SELECT"))
        return pixels("width", longestOption(element) + kSelectExtraPixels);
    if (!isButton(element))
        return {};
    // The label is laid out in the button's own font; in the controls' font the engine's
    // whole-pixel words would come short of a browser's fractional width.
    return pixels("min-width", controlTextWidth(controlText(element).text));
}

ControlText controlText(const Element& element) {
    if (element.hasTag(L"SELECT")) {
        const Element* option = isDropDown(element) ? chosenOption(element) : nullptr;
        return {option ? optionText(*option) : L""};
    }
    if (!element.hasTag(L"INPUT"))
        return {};
    const std::wstring type = typeOf(element);
    const auto value = element.getAttribute(L"value");
    if (isButton(element)) {
        const std::wstring fallback = type == L"submit"  ? L"Submit"
                                      : type == L"reset" ? L"Reset"
                                                         : L"";
        return {value.value_or(fallback)};
    }
    if (!isTextField(type))
        return {};
    if (value && !value->empty())
        return {type == L"password" ? std::wstring(value->size(), L'\u2022') : *value};
    return {element.getAttribute(L"placeholder").value_or(L""), true};
}

}  // namespace platform::dom
