// The Print-to-PDF conversion: PNG tiles of the captured page, in order, become an
// image-only PDF of a reading device's page size, one picture per page. Tiles are joined
// where one ends inside a page, and cut into pages near each page height at rows of a
// single tone (findPageBreaks), never through a picture that fits on one page. What follows
// the last row that shows anything (blank rows, blank tiles) makes no page. Tiles wider
// than a page are cut into page widths too (at a column of one colour a little before the
// page's width when there is one): the parts of each page's rows that show anything make
// a page each, one after the other. Every page also gets two near-white hairlines along
// its top and bottom edges.
//
// Contract: thread-safe; conversions run one at a time (a process-wide lock that is held
// only while this call runs and never while it waits on anything else). Nothing throws
// but std::bad_alloc. Failures give no document and, when `reason` is given, say why in
// it: no tiles, a page size that is not positive or beyond PDF's 14400 units, a page
// range that ends before it starts, a tile that cannot be
// read as a picture (no PDF is made that silently lacks part of the page), or a range
// holding no page. The 14400 units are checked on the written page size.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "addon/export/paging/tile_marks.h"
#include "addon/export/pdf/pdf_document.h"

namespace addon {

// Where the cut pictures go on the PDF's pages. The default writes one point per pixel
// on pages of the cut size, the picture at the corner; a printed sheet is a paper size
// with the picture at the printer's resolution inside its margins.
struct SheetGeometry {
    // Points per pixel of the tiles: 72 divided by the pictures' resolution in dpi.
    double pointsPerPixel = 1.0;
    // The page's size in points; 0 takes the cut size times pointsPerPixel.
    double width = 0;
    double height = 0;
    // Where the pictures' top left corner sits on the page, in points.
    double left = 0;
    double top = 0;
};

// pageWidth and pageHeight are the cut size in pixels. Pages count from 0 over the whole
// document; only firstPage to lastPage (inclusive) are written, a negative lastPage
// meaning 65535. `mode` is the pictures' encoding: "AUTO", "PNG" or "JPEG" (PdfImage).
// `marks` are in the pixels of the tiles placed one under the other: its links become link
// annotations on the pages that show them, each cut to its page, and its pictures are not
// cut by a page break when they fit on a page.
std::unique_ptr<PDFWriter::PDF> buildPdfFromTiles(const std::vector<std::wstring>& tiles,
                                                  int pageWidth, int pageHeight, int firstPage,
                                                  int lastPage, std::wstring_view mode,
                                                  std::wstring* reason = nullptr,
                                                  const TileMarks& marks = {},
                                                  const SheetGeometry& sheet = {});

}  // namespace addon
