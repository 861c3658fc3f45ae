#include "platform/dom/page_controls.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include "platform/dom/element.h"
#include "platform/dom/inner_text.h"
#include "platform/dom/tag_names.h"
#include "platform/imaging/font_catalog.h"
#include "platform/imaging/font_face.h"

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
    static std::mutex lock;
    static const imaging::FontFile file = imaging::findFontFile("Arial", 400, false);
    static imaging::FontFace face(file.path, kMeasuredPixels, file.index);
    std::lock_guard guard(lock);
    const std::u32string characters(text.begin(), text.end());
    return face.layoutWidth(characters) * kControlFontPixels / kMeasuredPixels;
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

std::string pixels(double width) {
    return "width:" + std::to_string(std::lround(width)) + "px;";
}

}  // namespace

std::string controlStyle(const Element& element) {
    if (element.hasTag(L"SELECT"))
        return pixels(longestOption(element) + kSelectExtraPixels);
    if (!element.hasTag(L"INPUT"))
        return {};
    const std::wstring type = asciiLower(element.getAttribute(L"type").value_or(L""));
    if (type != L"submit" && type != L"reset" && type != L"button")
        return {};
    const auto value = element.getAttribute(L"value");
    const std::wstring label = value               ? *value
                               : type == L"submit" ? L"Submit"
                               : type == L"reset"  ? L"Reset"
                                                   : L"";
    return pixels(controlTextWidth(label));
}

}  // namespace platform::dom
