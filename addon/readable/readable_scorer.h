// Finding and cleaning the main text of a page with the grab rules (grab_rules.h):
//   scoreByTags:     the tag scorer. For every tagRanks row (tag, weight) and every visible
//                    element E of that tag below the root that is not inside a clutter
//                    block by its names (name_ranks.h: comments, banners, sidebars), s = weight x
//                    (ANSI bytes of the text; for a row of positive weight, less the text of
//                    E's links: links are no prose) / 100 goes to E's parent (to E itself for the
//                    row "DIV", which counts only E's own text nodes), and s x transferToUpper to
//                    the element above that. The element that first reaches the highest score wins,
//                    unless at least kRivalCount other elements beside it (neither above nor
//                    below it) score kRivalShare of its score or more: then the story is cut
//                    into parts of like weight, and the lowest block above the winner that
//                    holds that many of them wins (never the page's body).
//   scoredText:      the points those rows with a positive weight give to the text
//                    below an element, to compare how much of a page's text two
//                    blocks hold.
//   cleanElement:    removes, for every tagChars row (tag, n), the elements of that tag
//                    below the element (all of them for n = 0, else those with fewer than
//                    n characters of inner text), then every "style" attribute.
//   extractReadable: scores a fetched page (parsed into a document of its own, or given
//                    parsed), strips the chosen element of event handlers and script
//                    links, cleans it and gives its outer HTML (or inner text). The parsed
//                    form changes the document it is given.
//
// Contract: free functions over the shared document model; they read the rules without locking
// (the rules are loaded once at start-up). Tag names match without regard to case. A
// null root or element gives null or changes nothing; nothing throws but bad_alloc.
#pragma once

#include <string>

#include "addon/page/dom_helpers.h"
#include "addon/readable/grab_rules.h"

namespace addon {

// The share of the best score an element beside the leader needs to count as a part.
inline constexpr double kRivalShare = 0.75;
// The parts besides the leader a block above it must hold to stand for the story.
inline constexpr std::size_t kRivalCount = 2;

ElementPtr scoreByTags(const ElementPtr& root, const GrabRules& rules = grabRules());
// The text below `root` that the tag scorer counts in favour of a block: weight x (ANSI
// bytes of the text) / 100 over the visible elements of the rows with a positive weight.
long long scoredText(const ElementPtr& root, const GrabRules& rules = grabRules());
// As scoredText, with the block itself counted too (a "DIV" row scores its own text).
long long blockText(const ElementPtr& block, const GrabRules& rules = grabRules());
void cleanElement(const ElementPtr& element, const GrabRules& rules = grabRules());
// "" when the page has no body or the scorer finds nothing.
std::wstring extractReadable(const std::wstring& html, bool asHtml,
                             const GrabRules& rules = grabRules());
std::wstring extractReadable(platform::dom::Document& document, bool asHtml,
                             const GrabRules& rules = grabRules());

}  // namespace addon
