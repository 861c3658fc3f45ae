// Whether a block of the page shows, for the finders and the cleaner: hidden are the
// blocks with display "none" or the "hidden" attribute and those below them, and the blocks that
// set visibility "hidden" (where their parent shows) and those below them. The page's html and body
// elements never hide anything: many pages hide themselves whole until their scripts have
// run ("html { display: none }", "body { visibility: hidden }"), and scripts do not run
// here, so the article behind that hiding is what the reader came for. Below a page element
// that hides its visibility, every block inherits "hidden", so there only display "none"
// hides.
//
// Contract: one object per walk, on the page's user-interface thread. Answers are
// remembered by element address while no style changes, so the walk must keep the
// elements it asks about alive. A null element shows.
#pragma once

#include <unordered_map>

#include "addon/page/dom_helpers.h"

namespace addon {

class ShownBlocks {
  public:
    bool hidden(const ElementPtr& element);

  private:
    std::unordered_map<const dom::Element*, bool> known_;
};

}  // namespace addon
