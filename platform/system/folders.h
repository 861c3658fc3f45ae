// The per-user and shared folders, resolved from the environment on every call so that a
// test (or a user) can point them elsewhere:
//   AppData   = $XDG_DATA_HOME, else $HOME/.local/share
//   Personal  = $HOME/Documents
//   settings  = $XDG_CONFIG_HOME/Olvan, else $HOME/.config/Olvan
//   cache     = $XDG_CACHE_HOME, else $HOME/.cache
//   locks     = $XDG_RUNTIME_DIR, else /tmp/olvan-<uid> (created private to the user)
// Only absolute XDG values count; a relative one is ignored as the XDG rules say.
//
// Contract: thread-safe (reads the environment only); paths are native UTF-8 without a
// trailing "/". A folder that cannot be determined (no usable HOME) is "" and never "/".
#pragma once

#include <string>

namespace platform::system {

// The user's home: $HOME, else the password database entry; "" when neither is usable.
std::string homeFolder();

std::string appDataFolder();
// The user's documents folder: $XDG_DOCUMENTS_DIR, else the one the user's
// "user-dirs.dirs" names (in $XDG_CONFIG_HOME, else ~/.config), else ~/Documents.
std::string personalFolder();
std::string settingsFolder();
std::string cacheFolder();

// The folder for lock files and other per-session runtime files. The fallback folder is
// created with mode 0700 when missing; "" when it cannot be made or belongs to someone else.
std::string runtimeFolder();

}  // namespace platform::system
