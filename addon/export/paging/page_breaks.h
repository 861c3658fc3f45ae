// Where a picture taller than a page is cut into pages: near each page height, at a row
// of a single tone when there is one a little above it, so that lines of text are not
// cut in half. Within a window above each page height the nearest row of one tone
// across the whole width is taken; failing that, of one tone between margins of a tenth
// of the width; then of one tone frequent in the picture; else the page height itself.
// A break that would cut through a picture the page shows (a `keepWhole` row span) moves
// above that picture when the picture fits on one page, so it starts the next page whole.
//
// Contract: a pure function; thread-safe.
#pragma once

#include <vector>

#include "platform/imaging/bitmap.h"

namespace addon {

// Rows [top, bottom) of the bitmap.
struct RowSpan {
    int top = 0;
    int bottom = 0;
};

// The slices {left 0, top, right = pageWidth, bottom} from the top of `bitmap` to its
// bottom, each at most pageHeight rows and never empty. A picture no taller than a page
// is one slice. pageWidth and pageHeight must be positive.
std::vector<platform::imaging::Rect> findPageBreaks(const platform::imaging::Bitmap& bitmap,
                                                    int pageWidth, int pageHeight,
                                                    const std::vector<RowSpan>& keepWhole = {});

// Where the part of `rows` that starts at column `left` ends when it is cut to at most
// pageWidth columns: the rows' right edge when it is near enough; else the rightmost
// column of one colour over all the rows within a quarter of pageWidth left of
// left + pageWidth, so that a line of text or a picture is not cut in two when there is
// room to avoid it; else left + pageWidth. pageWidth must be positive.
int findColumnCut(const platform::imaging::Bitmap& bitmap, const platform::imaging::Rect& rows,
                  int left, int pageWidth);

// The number of rows of the bitmap up to its last row that shows anything: the rows after
// it are all of the colour of the bottom row. The whole height when the bottom row itself
// is not of one colour; 0 when every row is of that one colour.
int contentHeight(const platform::imaging::Bitmap& bitmap);

}  // namespace addon
