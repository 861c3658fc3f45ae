// The page as printed: the laid-out page painted by the page painter at the printer's
// 300 dpi (a CSS pixel is 1/96 inch, so text is rasterised 300/96 times larger, not
// enlarged), cut at rows of a single tone (so no line of text is split) into the printable
// area of A4 sheets, and written as an image-only PDF of A4 pages whose title is the
// page's. A page wider than the printable width is shrunk to fit it, at the same 300 dpi.
//
// Contract: the page's user-interface thread (the page is laid out and painted here and
// put back as it was). The PDF is written whole or not at all; a failure gives false and
// says why in `reason`. The scratch pictures live in a fresh folder in the user's own
// temporary folder and are removed before returning.
#pragma once

#include <string>

#include "platform/dom/document.h"

namespace addon {

inline constexpr double kPrintDpi = 300.0;
inline constexpr double kCssPixelsPerInch = 96.0;
// A4 in points (210 by 297 mm) and the margin around the printable area.
inline constexpr double kSheetWidthPoints = 210.0 / 25.4 * 72.0;
inline constexpr double kSheetHeightPoints = 297.0 / 25.4 * 72.0;
inline constexpr double kSheetMarginPoints = 36.0;

// The scale at which a page `cssWidth` pixels wide is painted for the sheet: 300/96, or
// less for a page wider than the printable width.
double printScale(int cssWidth);

bool writePrintedPages(platform::dom::Document& page, const std::wstring& title,
                       const std::wstring& pdfPath, std::wstring& reason);

}  // namespace addon
