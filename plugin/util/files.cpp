#include "plugin/util/files.h"

#include <filesystem>

#include "common/util/file_tools.h"
#include "platform/system/atomic_file.h"
#include "platform/text/utf.h"

namespace plugin {

namespace fs = std::filesystem;

namespace {

fs::path nativePath(const std::wstring& path) {
    std::wstring slashes = path;
    for (wchar_t& c : slashes)
        if (c == L'\\')
            c = L'/';
    return fs::path(platform::text::toUtf8(slashes));
}

}  // namespace

std::wstring fileName(std::wstring_view path) {
    const auto last = path.find_last_of(L"/\\");
    if (last == std::wstring_view::npos || last == 0)
        return std::wstring(path);
    return std::wstring(path.substr(last + 1));
}

std::wstring fileTitle(std::wstring_view path) {
    std::wstring name = fileName(path);
    const auto dot = name.rfind(L'.');
    if (dot != std::wstring::npos && dot > 0)
        name.resize(dot);
    return name;
}

bool fileExists(const std::wstring& path) {
    std::error_code error;
    return !path.empty() && fs::exists(nativePath(path), error);
}

std::int64_t fileSize(const std::wstring& path) {
    std::error_code error;
    const auto size = fs::file_size(nativePath(path), error);
    return error ? 0 : static_cast<std::int64_t>(size);
}

bool writeFile(const std::wstring& path, std::string_view bytes) {
    return platform::system::writeFileAtomically(nativePath(path).string(), bytes);
}

int makeFolders(std::wstring_view base, std::wstring_view relative) {
    common::createFolderTree(base, relative);
    return 0;
}

}  // namespace plugin
