// The collation "local" that every SqliteDB connection registers: compares two UTF-8
// texts as wide strings with the process's collation locale. An empty text sorts first.
//
// Contract: thread-safe. The locale starts as the environment's (LC_ALL, LC_COLLATE,
// LANG) and falls back to C.UTF-8, then to C, when that locale is not installed.
#pragma once

#include <string>

namespace common {

inline constexpr const char* kLocalCollationName = "local";

// Replaces the collation locale; "" takes the environment's. Returns false, and uses the
// fallback, when the named locale is not available.
bool setCollationLocale(const std::string& name);

// The sqlite3_create_collation comparison: texts taken with their byte lengths.
int localCollate(void* unused, int length1, const void* text1, int length2, const void* text2);

}  // namespace common
