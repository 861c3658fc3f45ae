// The current time as text "%Y-%m-%d %H:%M:%S", the form in which the system stores and
// compares times.
//
// Contract: thread-safe.
#pragma once

#include <string>

namespace common {

// Local time when `local` is set, else UTC.
std::wstring currentTimeText(bool local);

}  // namespace common
