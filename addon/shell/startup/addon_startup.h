// What runs when the add-on module is loaded into a process and unloaded from it: the host
// check, and the attach and detach sequences that fill and free the process-wide objects.
//
// Attach: the temporary files that killed processes left behind removed
// (temporary_files.h), the user's data brought up to date (user_data_upgrade.h), the language
// chosen by registry `Language` loaded (an empty value, or a file that does not load, leaves the
// table empty), the user's config.xml read into the side-pane page list, grab.xml and
// pagestyles.xml of the data folder loaded, the input-binding table built and sorted, and
// the add-on's message boxes routed through its translating helper. Nothing attaches to a
// browser window here; that waits for the toolbar button.
// Detach: running update checks stopped, the page list, language table and binding table
// emptied, the message-box routing undone.
//
// Contract: called by the module's load and unload hooks on the loading thread, before
// any other thread of the add-on exists (attach) and after the last use (detach). The
// entry point never throws; failures leave the affected object empty.
#pragma once

#include <string>

namespace addon {

enum class ModuleEvent { processAttach, processDetach, threadAttach, threadDetach };

// False when the add-on must not stay in this process: the host program is "explorer.exe"
// (compared exactly). Under "regsvr32.exe" neither sequence runs, so registering the
// module never touches the user's data.
bool tamrixModuleEntry(ModuleEvent event);
// The same for a given host program file name (the last component of its path).
bool tamrixModuleEntry(ModuleEvent event, const std::wstring& hostFileName);

// The folders the start-up reads: "UserData", "ConfigData" and "languages".
struct AddonFolders {
    std::wstring userData;
    std::wstring configData;
    std::wstring languages;
};
AddonFolders resolveAddonFolders();

void attachAddon();
void attachAddon(const AddonFolders& folders);
void detachAddon();

}  // namespace addon
