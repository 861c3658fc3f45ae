// The page's links for Print-to-PDF: the addresses of its <a href> elements with the
// rectangles they are laid out in, carried from the page through the tiles into the PDF's
// link annotations. Relative addresses are resolved against the page's base (its base
// element, else its own address). Only addresses a reader can open from a PDF are kept:
// "http:", "https:" and "mailto:" ones (never "javascript:" or an empty href).
//
// Contract: pure functions on the page's thread; nothing throws but std::bad_alloc.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/dom/document.h"

namespace addon {

// `box` is in page pixels for documentLinks and, once captured, in the pixels of the tiles
// placed one under the other (captureReadableTiles).
struct PageLink {
    std::string address;
    platform::dom::Rect box;
};

bool isPrintableLinkAddress(std::wstring_view address);

// One entry per laid-out line box of every link with a printable address, in page order.
std::vector<PageLink> documentLinks(const platform::dom::Document& page);

}  // namespace addon
