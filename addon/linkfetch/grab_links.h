// The link list of a link grab: the page itself first, then every link inside the
// selected blocks, each address resolved against the page's URL, kept only when it is an
// http or https address (no script, mail, file or repository address is ever fetched), and
// each address once (compared without regard to case).
//
// Contract: a pure read of the page; the page's user-interface thread.
#pragma once

#include <string>
#include <vector>

#include "addon/selection/selection_item.h"
#include "common/util/string_pair.h"

namespace addon {

// {title, address} pairs in selection and document order.
std::vector<common::StringPair> collectGrabLinks(const std::vector<SelectionItem>& selected,
                                                 const std::wstring& pageTitle,
                                                 const std::wstring& pageUrl);

}  // namespace addon
