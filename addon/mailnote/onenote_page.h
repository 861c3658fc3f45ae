// The page XML that the OneNote export gives the notebook application: a new page with
// its settings and title, or outlines added to an existing page, one outline per block of
// markup.
//
// Contract: a pure function, thread-safe. Texts go into CDATA sections whole: a "]]>"
// inside one is split over two sections, so no text can end its section early or add
// elements; the page ID is escaped as an attribute value.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace addon {

// With a title: a new page (declaration, page element, settings, title, outlines);
// without: only the outlines for the page with that ID.
std::wstring buildOneNotePageXml(const std::wstring& pageId,
                                 const std::optional<std::wstring>& title,
                                 const std::vector<std::wstring>& blocks);

}  // namespace addon
