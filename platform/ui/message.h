// A window message as the window system delivers it, and the data record that WM_COPYDATA
// carries. Messages hold no pointers into the sender's memory, so they can be copied to
// another thread (and, later, serialized to another process). Values only.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/ui/types.h"

namespace platform::ui {

// The record of WM_COPYDATA: a caller-defined code and the bytes.
struct CopyData {
    std::uintptr_t code = 0;
    std::vector<std::uint8_t> bytes;
};

struct Message {
    HWND window;
    UINT id = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    // Set for WM_COPYDATA only; wParam then holds the sender's window handle.
    std::shared_ptr<const CopyData> copyData;
};

}  // namespace platform::ui
