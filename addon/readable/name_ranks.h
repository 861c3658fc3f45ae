// What the names a page's author gave a block say about it, by the rules' idRanks and
// classRanks tables (grab_rules.h): the rank of an element is the sum of the values of the
// idRanks names found in its id and the classRanks names found in its class attribute,
// without regard to case. A name of positive value counts wherever it stands
// ("articlebody"), one of negative value only as a whole word of the attribute, or that
// word with an "s" ("comment-list", "comments"; not "shared"). So "comment-content" ranks
// with "comment" and "content" together. A block ranked below zero is
// clutter: a comment thread, sidebar, cookie banner, share bar or list of other stories,
// and so is everything inside it, unless it holds a page heading (H1): then it holds the
// article, and its names describe the page's layout ("layout-with-sidebar"). An element
// standing in running text (the text right before or after it holds a letter or digit) is
// a phrase of a sentence, never clutter by its names, and so is an element inside code (a
// PRE or CODE block: highlighted code names its tokens "comment", "tag"). The page's html and body
// elements are never ranked: their names describe the whole page.
// A byline is told by its names too: a short block (less than kBylineText of text) outside
// running text and code whose id or class holds "byline", "author" or "dateline" as a whole
// word, or that the page marks as the author's (rel or itemprop "author"), or that holds no
// heading and holds such a mark ("Le Monde | 04.05.2015 | By <span itemprop=author>...").
// It names who wrote the story and when, not the story, and the readable page's header
// stands for it.
//
// Contract: the page's user-interface thread only; reads the page and changes nothing.
// `ClutterBlocks` remembers its answers by element address for one walk, so the walk must
// keep the elements it asks about alive and the page unchanged; it asks about elements of
// one page only.
#pragma once

#include <cstddef>
#include <optional>
#include <unordered_map>

#include "addon/page/dom_helpers.h"
#include "addon/readable/blocks/form_fields.h"
#include "addon/readable/grab_rules.h"
#include "addon/readable/blocks/item_lists.h"

namespace addon {

// The text a byline holds at most: a line naming the author, the paper and the date.
inline constexpr std::size_t kBylineText = 160;

int nameRank(const dom::Element& element, const GrabRules& rules);
// Whether the element's own names make it clutter (not the blocks around it).
bool isClutterByName(const dom::Element& element, const GrabRules& rules);
bool isBylineByName(const dom::Element& element);

// The clutter blocks of one page: those clutter by their names, forms to fill in
// (form_fields.h: a block holding a field and less than kFormBlockText of text, such as a
// contact box or a sign-up box) and the items of lists of items (item_lists.h: other stories'
// teasers, reader comments) unless they hold the page's heading or are its html or body.
class ClutterBlocks {
  public:
    explicit ClutterBlocks(const GrabRules& rules) : rules_(rules) {}
    // Whether the element or a block above it is clutter.
    bool inside(const ElementPtr& element);

  private:
    bool isFormBox(const ElementPtr& element);

    const GrabRules& rules_;
    std::unordered_map<const dom::Element*, bool> known_;
    std::optional<FormBlocks> forms_;  // the page's, made on the first question
    ItemLists items_;
};

}  // namespace addon
