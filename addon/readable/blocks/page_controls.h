// The controls a page's scripts work, which a readable page (without its scripts) shows as
// stray words: a link that leads nowhere without them (its target empty, "#" or
// "javascript:"), such as a gallery's or a player's Close, Next, less and more; a slide
// counter ("Image 1 of 23", "3 of 10"); and a share bar, a short block of at least two links
// that all lead to the sharing addresses of social networks or to an empty e-mail
// ("mailto:?"), with its label ("Share this story"). Each is told apart from the story's
// text: a link inside a sentence or a heading, a link around a picture, a counter in a
// table and a heading numbering the story's parts ("Part 2 of 3") stay.
//
// Contract: the page's user-interface thread only; reads the page and changes nothing.
#pragma once

#include <cstddef>

#include "addon/page/dom_helpers.h"

namespace addon {

// The most text a control's words hold (a link's, a counter's).
inline constexpr std::size_t kControlText = 40;
// The most text a share bar holds, its label and links together.
inline constexpr std::size_t kShareBarText = 100;

bool isScriptLink(const dom::Element& element);
bool isSlideCounter(const dom::Element& element);
bool isShareBar(const dom::Element& element);

}  // namespace addon
