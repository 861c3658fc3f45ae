// Where a picture taller than a page is cut into pages: near each page height, at a row
// of a single tone when there is one a little above it, so that lines of text are not
// cut in half. Within a window above each page height the nearest row of one tone
// across the whole width is taken; failing that, of one tone between margins of a tenth
// of the width; then of one tone frequent in the picture; else the page height itself.
//
// Contract: a pure function; thread-safe.
#pragma once

#include <vector>

#include "platform/imaging/bitmap.h"

namespace addon {

// The slices {left 0, top, right = pageWidth, bottom} from the top of `bitmap` to its
// bottom, each at most pageHeight rows and never empty. A picture no taller than a page
// is one slice. pageWidth and pageHeight must be positive.
std::vector<platform::imaging::Rect> findPageBreaks(const platform::imaging::Bitmap& bitmap,
                                                    int pageWidth, int pageHeight);

}  // namespace addon
