#include "plugin/module/user_folders.h"

#include "platform/system/atomic_file.h"
#include "platform/system/folders.h"
#include "platform/system/module_path.h"
#include "platform/text/utf.h"

namespace plugin {

namespace {

// A folder below `base`, created with its missing parents; "" without a base.
std::wstring createdFolder(const std::string& base, const std::string& relative) {
    if (base.empty())
        return {};
    const std::string folder = base + "/" + relative;
    platform::system::createFolders(folder);
    return platform::text::fromUtf8(folder);
}

// This library's own folder (the address names this module even when the host carries
// other copies of the platform code).
std::wstring libraryFolder() {
    const std::string path =
        platform::system::modulePathOf(reinterpret_cast<const void*>(&libraryFolder));
    return platform::text::fromUtf8(path.substr(0, path.rfind('/')));
}

}  // namespace

std::wstring GetUserFolder(const std::wstring& key) {
    if (key == L"UserData")
        return createdFolder(platform::system::appDataFolder(), "Olvan/Tamrix");
    if (key == L"MyTamrix")
        return createdFolder(platform::system::personalFolder(), "My Tamrix");
    if (key == L"languages")
        return libraryFolder() + L"/languages";
    return {};
}

}  // namespace plugin
