#include "common/util/engine_folder.h"

#include "common/util/file_tools.h"
#include "platform/system/folders.h"
#include "platform/system/module_path.h"
#include "platform/text/utf.h"

namespace common {
namespace {

std::wstring userFolder(const std::wstring& relative) {
    const std::wstring appData = platform::text::fromUtf8(platform::system::appDataFolder());
    if (appData.empty()) {
        return {};
    }
    createFolderTree(appData, relative, 0700);
    return appData + L"/" + relative;
}

std::wstring installedFolder(const std::wstring& relative) {
    const std::wstring data = platform::text::fromUtf8(platform::system::dataFolder());
    if (data.empty()) {
        return {};
    }
    return relative.empty() ? data : data + L"/" + relative;
}

}  // namespace

std::wstring engineFolder(const std::wstring& name) {
    if (name == L"UserCache") {
        return userFolder(L"Olvan/Tarn/cache");
    }
    if (name == L"Root") {
        return userFolder(L"Olvan");
    }
    if (name == L"UserData") {
        return userFolder(L"Olvan/Tarn");
    }
    if (name == L"ConfigData") {
        return installedFolder(L"");
    }
    if (name == L"resources" || name == L"languages" || name == L"plugins") {
        return installedFolder(name);
    }
    return {};
}

}  // namespace common
