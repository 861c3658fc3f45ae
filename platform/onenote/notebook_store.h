// The notebook's folder layout: section folders below the notebook folder, each with its
// ID in the hidden file ".section-id", and page files named after the page ID.
//
// Contract: thread-safe functions over the file system; IDs that are not "{GUID}" texts
// never reach a path. Failures give "" or false.
#pragma once

#include <string>
#include <string_view>

namespace platform::onenote {

// A "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" text (hex digits in either case).
bool isObjectId(std::wstring_view id);
std::wstring newObjectId();

// The section's ID, made (once, whole) when the folder has none; "" when `folder` is not
// a folder or the ID cannot be stored.
std::wstring sectionIdOf(const std::string& folder);
// The folder of the section with that ID, one level below `notebook`; "" when none.
std::string findSectionFolder(const std::string& notebook, std::wstring_view sectionId);
// The file of the page with that ID in any section; "" when none.
std::string findPageFile(const std::string& notebook, std::wstring_view pageId);
// Where the page with that ID lives in `sectionFolder`.
std::string pageFileIn(const std::string& sectionFolder, std::wstring_view pageId);

}  // namespace platform::onenote
