// The per-user settings under "Software\Olvan\Tamrix" that the selection engine and its
// binding table read. Each call reads the registry afresh; nothing is written back.
//
// Contract: registry failures give the defaults; never throws.
#pragma once

#include <cstdint>

#include "addon/controller/input_binding.h"

namespace addon {

// "\Operate\QuickSwitch" (default off, Q, stored Ctrl) and its key and modifier values.
HotkeySetting readQuickSwitchHotkey();
// "\Operate\ToolbarSwitch" (default on, F8, stored Ctrl) and its key and modifier values.
HotkeySetting readToolbarSwitchHotkey();
// "\Operate\RightButton": 0 turns rectangle drawing off (default 1).
std::int32_t readRightButtonSetting();

// Loads the process-wide binding table with the hotkeys of the current settings.
void loadInputBindings();

}  // namespace addon
