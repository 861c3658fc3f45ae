// The add-on's folders by name, so that every part of the add-on agrees on the
// installation layout (<root>/bin holds the deliverables, <root>/data the shipped data):
//   "UserData"    AppData/Olvan/Tamrix   (created, with its parents, when missing)
//   "ConfigData"  <root>/data
//   "resources", "languages", "plugins"  <root>/data/<name>
// Names are compared exactly; any other name gives "". <root> is the parent of the folder
// holding the module this code is linked into; AppData is the XDG data folder.
//
// Contract: thread-safe, keeps no state (every call looks again). A folder that cannot be
// determined (no AppData, no module path) gives "", never a folder at the file system's
// root. Paths have no trailing "/".
#pragma once

#include <string>

namespace addon {

std::wstring resolveDataFolder(const std::wstring& name);

}  // namespace addon
