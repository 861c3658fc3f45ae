// The layout finder: picks the main block of a displayed page by position and size. It
// probes the middle half of the given element's width between 250 and 1250 pixels down
// the page, takes the visible block not laid over the page (placed absolutely, or fixed to
// the window as a consent dialog or a sign-up bar is) with at least 200 characters of text
// whose width is nearest to 70% of the element's, widens it to the highest ancestor no
// wider than 1.15 times the probe, then narrows it twice: to the first child that fills
// half to nine tenths of it (searching deeper through wide children), and down through
// children that fill most of it while they are clearly shorter.
//
// Contract: the page's user-interface thread only. Elements without a layout box are
// passed over; a zero width or area anywhere gives no match instead of a division.
// Null when nothing qualifies.
#pragma once

#include "addon/page/dom_helpers.h"

namespace addon {

// `element` is normally the page's body.
ElementPtr findMainElement(const ElementPtr& element);

}  // namespace addon
