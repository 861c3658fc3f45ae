// Where the running code lives: the program (/proc/self/exe), the module that holds a
// given address (dladdr), and the installation layout built on them: <root>/bin holds the
// deliverables, <root>/data the data folder, so the root is the parent of the folder that
// holds the module.
//
// Contract: thread-safe; absolute native paths without a trailing "/"; "" when the path
// cannot be found. modulePath() names this shared library itself (<root>/bin); code of
// another module finds its own file with modulePathOf and an address of its own.
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
