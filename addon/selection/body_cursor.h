// The cursor a gesture shows over the page, set on the body's inline style, and taken away
// again without a trace: when the gesture ends, the body's style attribute is put back to
// exactly the text it had (absent when it was absent), so the page's markup is as before.
// When something else changed the body's style meanwhile, only the cursor property goes
// back to its former value and those changes stay.
//
// Contract: shares the body element with the page; the page's user-interface thread only.
#pragma once

#include <optional>
#include <string>

#include "addon/page/dom_helpers.h"

namespace addon {

class BodyCursor {
  public:
    // Shows `cursor` over the body (the first call of a gesture remembers the body's style).
    void show(const ElementPtr& body, const std::wstring& cursor);
    // Puts the body's style back; nothing when no cursor is shown.
    void restore();

  private:
    ElementPtr body_;
    std::optional<std::wstring> formerStyle_;  // the style attribute before the gesture
    std::wstring formerCursor_;                // the inline cursor before the gesture
    std::optional<std::wstring> shownStyle_;   // the style attribute as the last show left it
};

}  // namespace addon
