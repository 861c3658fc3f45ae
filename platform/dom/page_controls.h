// The sizes browsers give form controls from what they show: a button input is as wide as
// its label ("value", else "Submit" or "Reset") and a select as its longest option, in
// the controls' own font (13.33px Arial), as CSS declarations for the layout engine.
//
// Contract: pure function of the element and its children; document thread. The font is
// measured once and kept (thread-safe).
#pragma once

#include <string>

namespace platform::dom {

class Element;

// Declarations for a button input or a select ("width:41px;"), empty for other elements.
std::string controlStyle(const Element& element);

}  // namespace platform::dom
