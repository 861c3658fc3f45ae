// The article markup a Grab with nothing selected puts into the readable page: the story
// blocks (story_blocks.h) of the block main_element.h chooses, as the page has them less
// what is hidden (or hidden from readers, aria-hidden), a label laid over a picture (short
// text placed absolutely beside a picture: a chart's labels), clutter by its names
// (name_ranks.h) or a list of links (a list, table or block whose text is more than
// kLinkListShare link text: menus, other stories, tags; not one link alone in a table cell,
// the cell's datum, nor a list that a paragraph or a subheading introduces, a level-one
// heading counting as one after a paragraph of the story, nor the story's table of contents,
// blocks/contents_list.h) or a form to fill in (form_fields.h: a block holding a field and
// less than kFormBlockText of text, with its heading, labels and small print, and a captcha's
// notice set beside it), the story's footer (a FOOTER outside quotations and figures: print
// line, reprints, tags), the controls of the page's scripts (blocks/page_controls.h: links
// leading nowhere, slide counters, share bars) and a byline above its first paragraph
// (name_ranks.h), then cleaned by the rules' tagChars (readable_scorer.h `cleanElement`). A
// figure left with nothing to show but its caption (its player was an inline frame, its
// picture stood only in a NOSCRIPT) goes with its caption, and the story's first heading goes
// when it repeats the page's title (blocks/title_heading.h), which the readable page's header
// shows.
//
// Contract: the page's user-interface thread only; reads the page and changes nothing.
// "" when no article block is found.
#pragma once

#include <string>

#include "addon/page/dom_helpers.h"
#include "addon/readable/grab_rules.h"

namespace addon {

// The most text a label laid over a picture holds.
inline constexpr std::size_t kPictureLabelText = 200;
// The share of link text above which a block inside the article is a list of links.
inline constexpr double kLinkListShare = 0.5;

// `body` is the page's body.
std::wstring articleMarkup(const ElementPtr& body, const GrabRules& rules = grabRules());
// The same markup for the story whose block main_element.h chose already: `found` (the
// automatic selection remembers it); "" for null.
std::wstring articleMarkupOf(const ElementPtr& found, const GrabRules& rules = grabRules());

}  // namespace addon
