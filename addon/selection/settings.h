// The per-user settings under "Software\Olvan\Tamrix" that the selection engine, its binding
// table and the link fetcher read. Each call reads the registry afresh; nothing is written back.
//
// Contract: registry failures give the defaults; never throws.
#pragma once

#include <cstdint>
#include <string>

#include "addon/selection/input_binding.h"

namespace addon {

// A number under "Software\Olvan\Tamrix" of the current user; `name` begins with "\\"
// ("\\Request\\Number"). The default when it is not stored.
std::int32_t readUserSetting(const std::wstring& name, std::int32_t defaultValue);

// "\Operate\QuickSwitch" (default off, Q, stored Ctrl) and its key and modifier values.
HotkeySetting readQuickSwitchHotkey();
// "\Operate\ToolbarSwitch" (default on, F8, stored Ctrl) and its key and modifier values.
HotkeySetting readToolbarSwitchHotkey();
// "\Operate\RightButton": 0 turns rectangle drawing off (default 1).
std::int32_t readRightButtonSetting();

// Loads the process-wide binding table with the hotkeys of the current settings.
void loadInputBindings();

}  // namespace addon
