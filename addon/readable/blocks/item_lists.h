// The items of lists of like items that are not a story, though their text may outweigh
// one: other stories' teasers (a linked headline and a summary each) and reader comments (a
// linked name, a date, a reply link and a remark each). A block is such a list when at least
// kListItems of its children are items of one kind (tag and first class name) and those
// items hold at least kItemsShare of the block's text. An item holds a paragraph (P) with
// text, at most kItemText characters of paragraph text, and a link (an A with an address
// and text) before its first paragraph, the headline or the name: a story's paragraphs carry
// their links inside them, a list of features or steps links to more after its text, and a
// part of a story told in items holds more text than a summary or a remark.
//
// Contract: the page's user-interface thread only; reads the page and changes nothing.
// Answers are remembered by element address, so the caller keeps the page alive and
// unchanged while it asks.
#pragma once

#include <cstddef>
#include <unordered_set>

#include "addon/page/dom_helpers.h"

namespace addon {

// How many items of one kind make a list.
inline constexpr std::size_t kListItems = 5;
// The most paragraph text of one item: a summary or a remark.
inline constexpr std::size_t kItemText = 500;
// The share of the block's text its items hold.
inline constexpr double kItemsShare = 0.5;

class ItemLists {
  public:
    // Whether the element is an item of a list of items (not the list itself: a thread
    // whose opening post is more than a remark keeps that post).
    bool isListItem(const ElementPtr& element);

  private:
    void addItemsOf(const ElementPtr& list);

    std::unordered_set<const dom::Element*> listed_;  // the parents looked at
    std::unordered_set<const dom::Element*> items_;
};

}  // namespace addon
