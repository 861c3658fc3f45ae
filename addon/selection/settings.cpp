#include "addon/selection/settings.h"

#include <string>

#include "common/util/registry_tools.h"

namespace addon {

std::int32_t readUserSetting(const std::wstring& name, std::int32_t defaultValue) {
    return common::readUserNumber(L"Software\\Olvan\\Tamrix" + name, defaultValue);
}

namespace {

HotkeySetting readHotkey(const std::wstring& name, std::int32_t enabled, std::int32_t keyCode) {
    return HotkeySetting{readUserSetting(L"\\Operate\\" + name, enabled),
                         readUserSetting(L"\\Operate\\" + name + L"HotKeyCode", keyCode),
                         readUserSetting(L"\\Operate\\" + name + L"HotKeyModifiers", 2)};
}

}  // namespace

HotkeySetting readQuickSwitchHotkey() {
    return readHotkey(L"QuickSwitch", 0, 81);
}

HotkeySetting readToolbarSwitchHotkey() {
    return readHotkey(L"ToolbarSwitch", 1, 119);
}

std::int32_t readRightButtonSetting() {
    return readUserSetting(L"\\Operate\\RightButton", 1);
}

void loadInputBindings() {
    inputBindings().load(readQuickSwitchHotkey(), readToolbarSwitchHotkey());
}

}  // namespace addon
