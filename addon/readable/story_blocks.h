// The blocks that carry on the story of the chosen article block. Pages often split one
// story over sibling blocks (one per part, between ads, pictures or subheadings), and
// either finder then takes a single one of them. A table's body stands for its table
// (caption and head included), and the chosen block stands for the highest
// block above it that holds no other text than pictures, their captions and blocks of
// links only (a part wrapped alone, with its picture or behind a "Read more" link), and a
// sibling of the chosen block continues the story when it is visible, not laid out beside
// the chosen block (sharing its rows but none of its columns: a sidebar), not clutter
// (name_ranks.h `ClutterBlocks`: by its names, or a form to fill in), holds little link
// text, and either holds prose scoring at least a
// fifth of the chosen block's (readable_scorer.h `blockText`) or is a paragraph (or a
// block or section written as one: text and phrases only, or paragraphs of them), a block of the
// chosen block's own kind (tag and class names), or one built as the parts inside the chosen block
// are (tag and first class name: an opening part beside the block of the remaining parts), of 80
// characters or more, or a section of the story (an H2 followed by paragraphs only) of
// 80 characters or more, or is a paragraph of whole sentences without links, however short,
// standing right after a block of the story or right before the chosen one (a copyright line far
// below is none), or, before the chosen block, is written as the story's opening (paragraphs with
// their picture, captions or subheading, no other blocks and no clutter inside) of 80 characters or
// more. A sibling holding, as deep as the block the finder took stands below the chosen one, a
// block of that block's tag and component is built from the story's template and continues it with
// as much text (an opening and the rest in outer blocks of different kinds, each with the same
// inner block). Where a block a few levels above stands beside such a block of its own kind (each
// part of one template holding a part of the story), that block stands for the chosen one. The
// story runs from the first such block to the last, the chosen one included, with what stands
// between them (subheadings, pictures) unless that is hidden, clutter or beside the chosen block,
// and on to the last block after it that holds the story's notes (blocks/note_links.h: kNoteTargets
// targets of its links, such as a list of references). The heading set just before the story opens
// it (opening_heading.h).
//
// Contract: the page's user-interface thread only; reads the page and changes nothing.
#pragma once

#include <vector>

#include "addon/page/dom_helpers.h"
#include "addon/readable/grab_rules.h"

namespace addon {

// The share of the chosen block's scored text a sibling needs to continue the story.
inline constexpr double kSiblingShare = 0.2;
// The least text of a lone paragraph beside the chosen block that continues the story.
inline constexpr std::size_t kSiblingParagraph = 80;
// The share of link text above which a sibling is a list of links, not story.
inline constexpr double kSiblingLinkShare = 0.25;
// How many blocks above the chosen block's wrapper may stand for it when they have a
// sibling of their own kind.
inline constexpr std::size_t kKindLevels = 3;

// How many targets of the story's in-page links a block after it holds to hold its notes.
inline constexpr std::size_t kNoteTargets = 2;

// The table whose body (its rows) the element is, its caption and head belonging with its
// rows; the element itself for any other. A cell or row is not taken for its table: tables
// also lay pages out, and a cell of one is a column of the page.
ElementPtr wholeTable(const ElementPtr& element);

// The nodes that make up the story, in page order: siblings of the chosen block or of
// the wrapper standing for it; just the chosen block when no sibling continues it.
std::vector<NodePtr> storyBlocks(const ElementPtr& chosen, const GrabRules& rules = grabRules());

}  // namespace addon
