// The in-page links of a story and the notes they point to: a footnote mark links to
// "#note-3", and the list of notes holds the element of that id. A block holding several
// such targets holds the story's notes (references, footnotes), wherever the page sets it.
// A link is taken for in-page by its fragment alone: saved pages write their own address
// out in full ("https://host/page#note-3"), and a page file's address is not that one.
//
// Contract: the page's user-interface thread only; reads the page and changes nothing.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_set>

#include "addon/page/dom_helpers.h"

namespace addon {

class NoteLinks {
  public:
    // Adds the targets of the block's links with a fragment ("#id", "page#id").
    void addLinksOf(const ElementPtr& block);
    // How many elements of the block (itself included) are targets of the added links.
    std::size_t targetsIn(const ElementPtr& block) const;

  private:
    std::unordered_set<std::wstring> targets_;
};

}  // namespace addon
