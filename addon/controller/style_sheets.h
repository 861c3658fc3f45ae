// The style sheets of a page: its "style" elements and its "link" elements with a "rel"
// of "stylesheet", in document order. The page model keeps a sheet's disabled flag as the
// element's "disabled" attribute, so a command disables a sheet with a recorded attribute
// write and its undo gives the attribute back exactly as it was.
//
// Contract: the page's user-interface thread only.
#pragma once

#include <vector>

#include "addon/controller/page/document.h"

namespace addon {

inline constexpr const wchar_t* kStyleSheetDisabled = L"disabled";

std::vector<page::NodePtr> styleSheetElements(const page::Document& document);

}  // namespace addon
