// What Print-to-PDF carries from the page beside the tiles' pixels: the links, which become
// the PDF's link annotations, and the pictures, which a page break keeps whole when they
// fit on one page. Both are in page pixels when taken from the page (documentLinks,
// documentPictures) and, once captured, in the pixels of the tiles placed one under the
// other (captureReadableTiles).
//
// Contract: pure functions on the page's thread; nothing throws but std::bad_alloc.
#pragma once

#include <vector>

#include "addon/export/paging/page_links.h"
#include "platform/dom/document.h"

namespace addon {

struct TileMarks {
    std::vector<PageLink> links;
    std::vector<platform::dom::Rect> pictures;
};

// The laid-out boxes of the page's pictures (img, svg, canvas, video, object, embed), in
// page order; pictures without a box or of no area are left out.
std::vector<platform::dom::Rect> documentPictures(const platform::dom::Document& page);

}  // namespace addon
