// The two link-grab commands of a window: "command-select-grab-link" (the page itself,
// fetched again and shown as a readable page) and "command-select-grab-links" (the page
// and every web link in the selected blocks, as the person chooses them). Each context of
// the window runs a GrabLinksCommand whose worker (link_fetch_pool.h) fetches the links.
//
// The choice of links is made by a chooser that the add-on installs at start-up (the
// Grab-links dialog lives above this library); without one the link list command reports
// itself as not available.
//
// Contract: the browser's user-interface thread only. Results: 1 without a browser (or,
// for the list command, without a chooser), else 2.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "common/util/string_pair.h"
#include "platform/ui/types.h"

namespace addon {

// Shows the {title, address} pairs over `owner`; the chosen pairs, or nullopt when the
// person cancelled.
using GrabLinksChooser = std::function<std::optional<std::vector<common::StringPair>>(
    platform::ui::HWND owner, const std::vector<common::StringPair>& links)>;
void setGrabLinksChooser(GrabLinksChooser chooser);

int grabPageLink(int windowIndex);
int grabSelectedLinks(int windowIndex);

}  // namespace addon
