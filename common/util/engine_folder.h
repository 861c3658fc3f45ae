// The template engine's named folders:
//   "UserCache"  AppData/Olvan/Tarn/cache   (created when missing)
//   "Root"       AppData/Olvan              (created when missing)
//   "UserData"   AppData/Olvan/Tarn         (created when missing)
//   "ConfigData" <installation>/data
//   "resources", "languages", "plugins"  <installation>/data/<name>
// Names are compared exactly; any other name gives "". AppData is the XDG data folder;
// the installation root is the parent of the folder holding this module.
//
// Contract: thread-safe. Returns the path without a trailing "/", or "" when the folder
// cannot be determined (no AppData, no module path): never a folder at the file system's
// root.
#pragma once

#include <string>

namespace common {

std::wstring engineFolder(const std::wstring& name);

}  // namespace common
