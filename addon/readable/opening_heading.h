// The heading that opens a story: the page's heading (H1) set just before the story's first
// block. Pages set the headline apart from the block of paragraphs, and neither finder takes
// it with the story. It is the nearest node with text before the story's first block, among
// its siblings or, while nothing with text stands before the story in its parent, among the
// siblings of the blocks up to kOpeningLevels above (never the body's); an H1 element of at
// most kHeadingText characters that shows and is not inside clutter (name_ranks.h). A story
// that holds an H1 has its heading already. Where the heading repeats the page's title, the
// readable page leaves it out again (article_markup.h).
//
// Contract: the page's user-interface thread only; reads the page and changes nothing.
// Null when there is no such heading.
#pragma once

#include <vector>

#include "addon/page/dom_helpers.h"
#include "addon/readable/grab_rules.h"

namespace addon {

// The most text of a heading that opens a story.
inline constexpr std::size_t kHeadingText = 300;
// How many blocks above the story's first block the heading may stand beside.
inline constexpr std::size_t kOpeningLevels = 3;

// `story` is the story's nodes in page order (story_blocks.h).
ElementPtr openingHeading(const std::vector<NodePtr>& story, const GrabRules& rules = grabRules());

}  // namespace addon
