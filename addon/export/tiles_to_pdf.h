// The Print-to-PDF conversion: PNG tiles of the captured page, in order, become an
// image-only PDF of a reading device's page size, one picture per page. Tiles are joined
// where one ends inside a page, and cut into pages near each page height at rows of a
// single tone (findPageBreaks). Every page also gets two near-white hairlines along its
// top and bottom edges.
//
// Contract: thread-safe; conversions run one at a time (a process-wide lock that is held
// only while this call runs and never while it waits on anything else). Nothing throws
// but std::bad_alloc. Failures give no document and, when `reason` is given, say why in
// it: no tiles, a page size that is not positive or beyond PDF's 14400 units, a page
// range that ends before it starts, a tile that cannot be
// read as a picture (no PDF is made that silently lacks part of the page), or a range
// holding no page.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "addon/export/page_links.h"
#include "addon/export/pdf_document.h"

namespace addon {

// Page sizes are pixels, written one point per pixel. Pages count from 0 over the whole
// document; only firstPage to lastPage (inclusive) are written, a negative lastPage
// meaning 65535. `mode` is the pictures' encoding: "AUTO", "PNG" or "JPEG" (PdfImage).
// `links` (in the pixels of the tiles placed one under the other) become link annotations
// on the pages that show them, each cut to its page.
std::unique_ptr<PDFWriter::PDF> buildPdfFromTiles(const std::vector<std::wstring>& tiles,
                                                  int pageWidth, int pageHeight, int firstPage,
                                                  int lastPage, std::wstring_view mode,
                                                  std::wstring* reason = nullptr,
                                                  const std::vector<PageLink>& links = {});

}  // namespace addon
