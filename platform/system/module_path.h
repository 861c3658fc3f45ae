// Where the running code lives: the program (/proc/self/exe), the module that holds a
// given address (dladdr), and the installation layout built on them: <root>/bin holds the
// deliverables, <root>/data the data folder, so the root is the parent of the folder that
// holds the module.
//
// Contract: thread-safe; absolute native paths without a trailing "/"; "" when the path
// cannot be found. modulePath() names the module into which this library was linked; a
// shared module that must not be confused with another copy links with hidden visibility
// (or -Bsymbolic) so the call stays inside it.
#pragma once

#include <string>

namespace platform::system {

std::string programPath();

// The file of the shared object (or the program) whose code or data contains `address`.
std::string modulePathOf(const void* address);
std::string modulePath();

std::string installationRoot();
std::string dataFolder();

}  // namespace platform::system
