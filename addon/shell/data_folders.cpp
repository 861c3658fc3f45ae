#include "addon/shell/data_folders.h"

#include "common/util/engine_folder.h"
#include "common/util/file_tools.h"
#include "platform/system/folders.h"
#include "platform/text/utf.h"

namespace addon {

std::wstring resolveDataFolder(const std::wstring& name) {
    if (name == L"UserData") {
        const std::wstring appData = platform::text::fromUtf8(platform::system::appDataFolder());
        if (appData.empty()) {
            return {};
        }
        // The repository and the user's own files: private to the user.
        common::createFolderTree(appData, L"Olvan/Tamrix", 0700);
        return appData + L"/Olvan/Tamrix";
    }
    // The installed folders are laid out as the template engine's.
    if (name == L"ConfigData" || name == L"resources" || name == L"languages" ||
        name == L"plugins") {
        return common::engineFolder(name);
    }
    return {};
}

}  // namespace addon
