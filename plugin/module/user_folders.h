// The plug-in's named folders: the user data folder, the folder for the user's exports and
// the folder of the language files.
//
// Contract: thread-safe; folders that are asked for and missing are created (failures are
// passed over: the caller finds out when it uses the folder).
#pragma once

#include <string>

namespace plugin {

// "UserData": the user data folder (AppData/Olvan/Tamrix); "MyTamrix": the Personal
// folder + "/My Tamrix" (both created when missing); "languages": the library's own
// folder + "/languages"; "" for any other key.
std::wstring GetUserFolder(const std::wstring& key);

}  // namespace plugin
