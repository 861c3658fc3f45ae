// The article block of a displayed page, for a grab with nothing selected and for the
// automatic selection. Two finders look for it: the layout finder (layout_finder.h) by
// where blocks lie on the laid-out page, and the tag scorer (readable_scorer.h) by the text
// the page's elements hold. The rule that decides between them:
//   - the block holding both where they found two halves of one story: two blocks apart
//     (neither holds the other), the lighter holding at least half the scored text of the
//     heavier, below one block that is not the page's, not clutter, has few links
//     (story_blocks.h kSiblingLinkShare) and little scored text besides the two; whatever
//     the layout (the halves' weights and their holder decide, not the columns);
//   - the layout finder's block, where the layout gives it a column to find: its block is
//     narrower than 90% of the body, so the page is laid out in columns;
//   - the tag scorer's element where the layout finder cannot decide: it finds nothing, or
//     every block is as wide as the page (a page without its style sheets is one column,
//     and the widest block is a menu as often as the article);
//   - the tag scorer's element, too, where the layout finder's block is clutter by its
//     names or lies inside clutter (name_ranks.h): a cookie banner, a comment thread, a
//     list of other stories placed where the article usually stands;
//   - the tag scorer's element, too, where the layout finder's block holds less than half
//     of the scored text (readable_scorer.h `scoredText`) that the tag scorer's element
//     holds: a teaser box or one paragraph, not the article;
//   - and the tag scorer's element where it lies inside the layout finder's column and
//     holds most (more than half) of the column's scored text: the rest of the column is
//     what news pages put around an article (related stories, comments), not more of it.
// When neither finds anything, the page holds too little text for either (no block of
// 200 characters, no paragraphs): all of it is the article, and the body is taken. A table's
// body found is its table, caption and head included (story_blocks.h `wholeTable`). Null
// for a page without text.
//
// Contract: the page's user-interface thread only; reads the page and changes nothing.
#pragma once

#include "addon/page/dom_helpers.h"
#include "addon/readable/grab_rules.h"

namespace addon {

// The share of the body's width below which the layout finder's block is a column.
inline constexpr double kColumnShare = 0.9;
// The share of the tag scorer's scored text below which the layout finder's block loses.
inline constexpr double kLayoutBlockShare = 0.5;
// The share of the column's scored text above which the tag scorer's element inside it wins.
inline constexpr double kInnerBlockShare = 0.5;
// The share of the heavier finder's block that the other's needs to be the story's other half.
inline constexpr double kHalfShare = 0.5;
// How much scored text the block holding both halves may hold, over the halves' own.
inline constexpr double kHalvesShare = 1.25;

// `body` is the page's body.
ElementPtr findArticleElement(const ElementPtr& body, const GrabRules& rules = grabRules());

}  // namespace addon
