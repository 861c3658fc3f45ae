// The width a browser gives an explorer bar when it first shows it: the BarSize stored for
// the bar under "Software\Microsoft\Internet Explorer\Explorer Bars" (the user's entries
// first, then the machine's, as the installation registered them). The entry is the one
// named by the bar's class id, else the one whose default value is the bar's title.
// BarSize is binary: its first four bytes are the width in pixels, little-endian.
//
// Contract: reads the registry on each call; thread-safe. Nothing throws but
// std::bad_alloc.
#pragma once

#include <string>

#include "platform/com/guid.h"

namespace platform::browser {

// The width browsers give a bar that has no usable BarSize.
inline constexpr int kDefaultBarWidth = 250;

int registeredBarWidth(const com::GUID& classId, const std::wstring& title);

}  // namespace platform::browser
