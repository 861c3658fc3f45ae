// The side-pane page list that the add-on reads from the user's config.xml:
//   <config><sidePages><item name="..."/>...</sidePages></config>
// in file order.
//
// Contract: the process-wide list is filled at start-up (and again after a change of
// language) on the user-interface thread and read there. A missing or malformed file, or
// one without "sidePages", gives an empty list; nothing throws but bad_alloc.
#pragma once

#include <string>
#include <vector>

namespace addon {

// The names in the file; empty when there are none or the file cannot be read.
std::vector<std::wstring> readSidePages(const std::wstring& path);

// The process-wide list.
const std::vector<std::wstring>& sidePages();
void loadSidePages(const std::wstring& path);
void freeSidePages();

}  // namespace addon
