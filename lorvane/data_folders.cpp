#include "lorvane/data_folders.h"

#include "platform/system/folders.h"
#include "platform/system/module_path.h"
#include "platform/text/utf.h"

namespace lorvane {

namespace {

// `path` cut at its last separator; "" when nothing useful is left.
std::wstring parentOf(const std::wstring& path) {
    const auto separator = path.find_last_of(L"/\\");
    if (separator == std::wstring::npos || separator == 0)
        return {};
    return path.substr(0, separator);
}

}  // namespace

std::wstring programRoot() {
    return parentOf(parentOf(platform::text::fromUtf8(platform::system::programPath())));
}

std::wstring resolveDataFolder(const std::wstring& name, const std::wstring& root) {
    if (name == L"UserData") {
        const std::string appData = platform::system::appDataFolder();
        return appData.empty() ? L"" : platform::text::fromUtf8(appData) + L"/Olvan/Tamrix";
    }
    if (name != L"languages" && name != L"plugins")
        return {};
    return root.empty() ? L"" : root + L"/data/" + name;
}

}  // namespace lorvane
