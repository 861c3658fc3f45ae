// What a readable page must not carry from the markup it was built from: a readable page
// is shown by the browser, which would run it, so scripts, inline frames, event-handler
// attributes and script addresses go before it is shown.
//
// Contract: changes the tree under `root` (and `root` itself) in place; null changes
// nothing. The page's user-interface thread, or any thread for a tree no page shows yet.
#pragma once

#include "addon/page/dom_helpers.h"

namespace addon {

// Removes SCRIPT and IFRAME elements, every "on..." attribute and pictures whose address
// is a script; a link whose address is a script gives way to its content.
void stripActiveContent(const ElementPtr& root);

}  // namespace addon
