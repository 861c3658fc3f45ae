// A formula (a MathML "math" element) in book form. EPUB 2 pages are XHTML 1.1, which has
// no formulas of its own: the formula goes into an ops:switch whose MathML case holds its
// presentation elements, and whose default, for reading systems without MathML, holds its
// words (the alttext, else the text of its tokens) in a span. Only MathML elements and
// attributes that lay a formula out are kept: no links, styles, ids, event attributes or
// annotations; an unknown MathML element gives way to its content, and an element of
// another namespace inside the formula to its text.
//
// Contract: pure function of its input, thread-safe. The result is inline markup (UTF-8),
// "" when the formula holds no words.
#pragma once

#include <gumbo.h>

#include <string>

namespace common::markup {

// `levels` is how deep the formula's elements may still nest; deeper ones keep only
// their text.
std::string bookFormula(const GumboNode* math, int levels);

}  // namespace common::markup
