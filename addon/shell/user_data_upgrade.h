// Bringing the user's data up to date with the shipped configuration, once per start of the
// add-on in a process:
//   first run or upgrade (registry `Version` empty, or older than the product version):
//     the shipped config.xml replaces the user's copy, and the machine-wide defaults under
//     HKLM "Software\Olvan\Tamrix" are copied into HKCU for every value the user does
//     not have yet;
//   ordinary start: the shipped config.xml is copied only when the user has none.
// In both cases `Version` becomes the product version.
//
// Nothing is lost on the way: files are written whole or not at all, and a user's copy of
// config.xml that differs from the shipped one is kept as "config.xml.old" before it is
// replaced. Versions compare part by part as numbers ("1.10" is newer than "1.9"); parts
// that are not numbers compare as text without case.
//
// Contract: runs on the thread that starts the add-on, before any other thread of it.
// Failures (no shipped file, no folder, a registry that cannot be written) are silent:
// start-up goes on with what there is.
#pragma once

#include <string>

namespace addon {

inline constexpr const wchar_t* kTamrixSettingsKey = L"Software\\Olvan\\Tamrix";

// Negative, 0 or positive as `a` is older than, as new as or newer than `b`.
int compareVersions(const std::wstring& a, const std::wstring& b);

// With the add-on's folders ("UserData", "ConfigData") and its own "ProductVersion".
void upgradeUserData();
// With the given folders and product version; true when the run counted as an upgrade.
bool upgradeUserData(const std::wstring& userData, const std::wstring& configData,
                     const std::wstring& productVersion);

}  // namespace addon
