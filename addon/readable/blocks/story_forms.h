// The forms a block beside the story takes when it carries the story on (story_blocks.h): of
// the chosen block's kind or template, written as a paragraph, a section, a sentence or an
// opening, and where it is laid out. Each is a test of the block's tags, class names or box alone;
// whether it is clutter, and how much text it holds, story_blocks.cpp asks besides.
//
// Contract: the page's user-interface thread only; reads the page and changes nothing.
#pragma once

#include <string>

#include "addon/page/dom_helpers.h"

namespace addon {

// The first word of a class attribute, "" for none: the name of the component a block is
// built from, the words after it its variations (spacing, colours, widths).
std::wstring componentName(const dom::Element& element);

// Whether two blocks are of one kind: the same tag and the same class names, not none.
bool sameKind(const ElementPtr& a, const ElementPtr& b);
// Whether the sibling is built as one of the parts inside `block` are (tag and first class
// name).
bool kindOfPartInside(const ElementPtr& sibling, const ElementPtr& block);
// Whether the sibling holds, as many levels down as `part` stands below `block`, a block of
// `part`'s tag and first class name.
bool holdsPartLike(const ElementPtr& sibling, const ElementPtr& block, const ElementPtr& part);
// Whether the block is written as a paragraph: a P, or a plain block or section of
// paragraphs and phrases only.
bool isParagraphLike(const ElementPtr& element);
// Whether the block is written as a story's opening: a plain block or section of paragraphs
// with pictures, captions and subheadings, no other blocks.
bool isOpeningLike(const ElementPtr& element);
// Whether the block is a section of the story: a level-two subheading followed by
// paragraphs only.
bool isSectionLike(const ElementPtr& element);
// Whether the block is a P of one sentence or more without links; `trimmedText` is its text.
bool isSentence(const ElementPtr& element, const std::wstring& trimmedText);
// Whether the sibling is laid out beside the block: their boxes share rows but no column.
bool besideColumn(const ElementPtr& sibling, const ElementPtr& block);

}  // namespace addon
