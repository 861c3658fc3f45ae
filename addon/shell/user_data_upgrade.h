// Bringing the user's data up to date with the shipped configuration, once per start of the
// add-on in a process:
//   first run or upgrade (registry `Version` empty, or older than the product version):
//     the shipped config.xml replaces the user's copy, and the machine-wide defaults under
//     HKLM "Software\Olvan\Tamrix" are copied into HKCU for every value the user does
//     not have yet;
//   ordinary start: the shipped config.xml is copied only when the user has none.
// `Version` becomes the product version only when all of that succeeded, so a run that
// failed part-way (no shipped file, a file that cannot be written) is repeated at the next
// start.
//
// Nothing is lost on the way: files are written whole or not at all, a user's copy that
// cannot be read is left alone, and a user's copy of config.xml that differs from the
// shipped one is kept before it is replaced: as "config.xml.old", or when that name is
// taken by an earlier backup as "config.xml.old.1", "config.xml.old.2" and so on; no
// backup is ever overwritten, and a copy already kept is not kept twice. Versions compare part by
// part as numbers ("1.10" is newer than "1.9"); parts that are not numbers compare as text without
// case.
//
// Contract: runs on the thread that starts the add-on, before any other thread of it.
// Failures are silent: start-up goes on with what there is.
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
