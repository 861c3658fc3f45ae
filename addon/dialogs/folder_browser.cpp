#include "addon/dialogs/folder_browser.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/system/folders.h"
#include "platform/text/utf.h"
#include "platform/ui/presenter.h"

namespace addon {

namespace {

constexpr std::size_t kStartPathLimit = 518;

std::wstring wide(const std::string& path) {
    return platform::text::fromUtf8(path);
}

std::wstring currentFolder() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    return error ? std::wstring{} : folder.wstring();
}

std::wstring startPath(const StartFolder& start) {
    std::wstring path;
    if (const auto* text = std::get_if<std::wstring>(&start)) {
        path = text->substr(0, kStartPathLimit);
    } else {
        path = specialFolderPath(std::get<int>(start));
    }
    return path.empty() ? currentFolder() : path;
}

bool isExistingFolder(const std::wstring& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(std::filesystem::path(path), error);
}

// Whether `path` lies inside `root` (or is it), compared after normalising both.
bool isInside(const std::wstring& path, const std::wstring& root) {
    std::error_code error;
    const auto canonicalPath = std::filesystem::weakly_canonical(path, error);
    const auto canonicalRoot = std::filesystem::weakly_canonical(root, error);
    if (error) {
        return false;
    }
    const std::filesystem::path relative = canonicalPath.lexically_relative(canonicalRoot);
    return !relative.empty() && *relative.begin() != "..";
}

}  // namespace

std::wstring specialFolderPath(int folder) {
    namespace sys = platform::system;
    const std::string home = sys::homeFolder();
    switch (folder) {
        case kFolderDesktop:
            return home.empty() ? std::wstring{} : wide(home + "/Desktop");
        case kFolderPersonal:
            return wide(sys::personalFolder());
        case kFolderAppData:
            return wide(sys::appDataFolder());
        case kFolderProfile:
            return wide(home);
        default:
            return {};
    }
}

bool browseForFolder(platform::ui::HWND owner, const std::wstring& title, int rootFolder,
                     const StartFolder& start, wchar_t* buffer, std::size_t bufferSize,
                     bool showEditBox) {
    if (buffer == nullptr || bufferSize < kFolderBufferMinimum) {
        return false;
    }
    const std::wstring root = rootFolder == kNoRootFolder ? L"" : specialFolderPath(rootFolder);
    const auto answer = platform::ui::browseForFolder(owner, title, startPath(start), showEditBox);
    if (!answer || !isExistingFolder(*answer) || (!root.empty() && !isInside(*answer, root))) {
        return false;
    }
    const std::size_t length = std::min(answer->size(), bufferSize - 1);
    std::copy_n(answer->begin(), length, buffer);
    buffer[length] = L'\0';
    return true;
}

}  // namespace addon
