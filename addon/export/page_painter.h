// Paints a laid-out page into a picture, as the browser would show it: the page's
// background (the root's, else the body's, else white), then every element in document
// order with its background colour and borders, its text in its colour, size and weight
// (DejaVu Sans through FreeType, each character in the cell the layout gave it) and its
// pictures. An "IMG" whose source is a local PNG file is drawn scaled to its box; any other
// picture is a grey placeholder box.
//
// Contract: on the page's thread (it reads layout and styles); the page is laid out for
// its current viewport first. Nothing outside `area` is painted. Never throws but
// std::bad_alloc.
#pragma once

#include "platform/dom/document.h"
#include "platform/dom/geometry.h"
#include "platform/imaging/bitmap.h"

namespace addon {

// The part `area` (page coordinates) of the page as a 24-bit bitmap of its size; empty
// for an empty area.
platform::imaging::Bitmap paintPage(const platform::dom::Document& page, platform::dom::Rect area);

}  // namespace addon
