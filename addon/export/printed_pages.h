// The page as printed: the laid-out page painted by the page painter, cut into sheets of
// A4 proportions at rows of a single tone (so no line of text is split), and written as an
// image-only PDF whose title is the page's.
//
// Contract: the page's user-interface thread (the page is laid out and painted here and
// put back as it was). The PDF is written whole or not at all; a failure gives false and
// says why in `reason`. The scratch pictures live in a fresh folder under the system's
// temporary folder and are removed before returning.
#pragma once

#include <string>

#include "platform/dom/document.h"

namespace addon {

// The sheet's height for a page `width` pixels wide: A4, 297 by 210.
int printedSheetHeight(int width);

bool writePrintedPages(platform::dom::Document& page, const std::wstring& title,
                       const std::wstring& pdfPath, std::wstring& reason);

}  // namespace addon
