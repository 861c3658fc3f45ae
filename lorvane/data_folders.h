// The side-pane program's named folders, from the installation layout (<root>/bin holds
// the program, <root>/data the shipped data):
//   "UserData"   AppData/Olvan/Tamrix
//   "languages"  <root>/data/languages
//   "plugins"    <root>/data/plugins
// Names are compared exactly, with case; any other name gives "".
//
// Contract: thread-safe, keeps no state. A folder that cannot be determined (no AppData,
// an empty root) is "", never a folder at the file system's root. No trailing "/".
#pragma once

#include <string>

namespace lorvane {

// The parent of the folder that holds the program file; "" when it cannot be found.
std::wstring programRoot();

std::wstring resolveDataFolder(const std::wstring& name, const std::wstring& root);

}  // namespace lorvane
