#include "common/util/path_tools.h"

#include <algorithm>

#include "platform/system/module_path.h"
#include "platform/text/utf.h"

namespace common {

std::wstring nativePath(std::wstring_view path) {
    std::wstring native(path);
    std::replace(native.begin(), native.end(), L'\\', L'/');
    return native;
}

std::wstring processPath() {
    return platform::text::fromUtf8(platform::system::programPath());
}

// This library is linked statically into each module, so the module that holds this
// function is the module that asked.
std::wstring modulePath() {
    return platform::text::fromUtf8(
        platform::system::modulePathOf(reinterpret_cast<const void*>(&modulePath)));
}

std::wstring moduleFolder() {
    return parentFolder(modulePath());
}

std::wstring parentFolder(std::wstring_view path) {
    const std::wstring native = nativePath(path);
    const auto slash = native.rfind(L'/');
    return slash == std::wstring::npos ? std::wstring() : native.substr(0, slash);
}

std::wstring fileNameOf(std::wstring_view path) {
    const std::wstring native = nativePath(path);
    const auto slash = native.rfind(L'/');
    return slash == std::wstring::npos ? native : native.substr(slash + 1);
}

std::wstring fileTitleOf(std::wstring_view path) {
    const std::wstring name = fileNameOf(path);
    const auto dot = name.rfind(L'.');
    return dot == std::wstring::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace common
