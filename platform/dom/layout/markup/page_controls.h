// Form controls as browsers show them, for the layout engine. A select is as wide as its
// longest option, and a button input at least as wide as its label, in the controls' own
// font (13.33px Arial), as CSS declarations. What a
// control shows inside its box (a button input's label, a text field's value or else its
// placeholder, a drop-down select's chosen option) is written on its element as marker
// attributes, which controlSheet turns into the text the engine lays out and paints
// (::before { content: attr(...) }), in the control's own font and colour.
//
// Contract: pure functions of the element and its children; document thread. The font is
// measured once and kept (thread-safe).
#pragma once

#include <string>

namespace platform::dom {

class Element;

inline constexpr const char* kControlLabelAttribute = "data-tamrix-label";
inline constexpr const char* kControlPlaceholderAttribute = "data-tamrix-placeholder";

// The rules that show the controls' text and hide a drop-down's options. They go to the
// engine as the first of the page's own sheets: the engine drops the ::before boxes of its
// default sheet when it applies the page's sheets.
const std::string& controlSheet();

// Declarations for a select ("width:41px;") or a button input ("min-width:45px;"), empty
// for other elements.
std::string controlStyle(const Element& element);

// What the control shows as its text (empty for none), and whether that text is its
// placeholder, shown greyed.
struct ControlText {
    std::wstring text;
    bool placeholder = false;
};
ControlText controlText(const Element& element);

}  // namespace platform::dom
