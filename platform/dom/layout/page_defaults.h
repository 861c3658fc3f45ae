// The browser's own style sheet for the layout engine: how the HTML elements look before
// a page's sheets apply (display types, margins of paragraphs, headings and lists, the
// sizes of headings, table layout, form controls).
//
// Contract: a constant text, valid for the program's life.
#pragma once

namespace platform::dom {

const char* pageDefaultStyleSheet();

}  // namespace platform::dom
