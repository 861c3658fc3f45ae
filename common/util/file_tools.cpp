#include "common/util/file_tools.h"

#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>

#include "common/util/path_tools.h"
#include "platform/system/atomic_file.h"
#include "platform/text/utf.h"

namespace common {
namespace {

std::string bytePath(std::wstring_view path) {
    return platform::text::toUtf8(nativePath(path));
}

std::wstring withSlash(std::wstring_view folder) {
    std::wstring native = nativePath(folder);
    if (native.empty() || native.back() != L'/') {
        native += L'/';
    }
    return native;
}

struct Entry {
    std::string name;
    bool isFolder;
};

// The visible entries of a folder in name order; folders reached through a link count as
// files for descending, so a link loop is never followed.
std::vector<Entry> visibleEntries(const std::string& folder) {
    std::vector<Entry> entries;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        std::string name = it->path().filename().string();
        if (name.empty() || name.front() == '.') {
            continue;
        }
        std::error_code ignored;
        const bool isLink = it->is_symlink(ignored);
        const bool isFolder = it->is_directory(ignored);
        if (isLink && isFolder) {
            continue;
        }
        entries.push_back({std::move(name), isFolder});
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return entries;
}

void collectFiles(const std::wstring& folder, const std::string& pattern, bool recursive,
                  std::vector<std::wstring>& files) {
    const auto entries = visibleEntries(platform::text::toUtf8(folder));
    for (const auto& entry : entries) {
        if (!entry.isFolder && fnmatch(pattern.c_str(), entry.name.c_str(), FNM_CASEFOLD) == 0) {
            files.push_back(folder + platform::text::fromUtf8(entry.name));
        }
    }
    if (recursive) {
        for (const auto& entry : entries) {
            if (entry.isFolder) {
                collectFiles(folder + platform::text::fromUtf8(entry.name) + L'/', pattern, true,
                             files);
            }
        }
    }
}

void collectFolders(const std::wstring& folder, bool recursive,
                    std::vector<std::wstring>& folders) {
    for (const auto& entry : visibleEntries(platform::text::toUtf8(folder))) {
        if (entry.isFolder) {
            folders.push_back(folder + platform::text::fromUtf8(entry.name));
            if (recursive) {
                collectFolders(folders.back() + L'/', true, folders);
            }
        }
    }
}

}  // namespace

bool createFolderTree(std::wstring_view base, std::wstring_view relative, unsigned mode) {
    if (base.empty()) {
        return false;
    }
    std::wstring tail = nativePath(relative);
    while (!tail.empty() && tail.front() == L'/') {
        tail.erase(0, 1);
    }
    return platform::system::createFolders(platform::text::toUtf8(withSlash(base) + tail), mode);
}

bool pathExists(std::wstring_view path) {
    struct stat info {};
    return !path.empty() && stat(bytePath(path).c_str(), &info) == 0;
}

std::uint32_t writeFile(std::wstring_view path, const void* data, std::size_t size) {
    if (size >= kFileError || (data == nullptr && size != 0)) {
        return kFileError;
    }
    const std::string_view bytes(static_cast<const char*>(data), size);
    return platform::system::writeFileAtomically(bytePath(path), bytes)
               ? static_cast<std::uint32_t>(size)
               : kFileError;
}

std::uint32_t readFile(std::wstring_view path, std::string& buffer, std::size_t maxSize) {
    buffer.clear();
    std::ifstream file(bytePath(path), std::ios::binary);
    if (!file || maxSize >= kFileError) {
        return kFileError;
    }
    buffer.resize(maxSize);
    file.read(buffer.data(), static_cast<std::streamsize>(maxSize));
    if (file.bad()) {
        buffer.clear();
        return kFileError;
    }
    buffer.resize(static_cast<std::size_t>(file.gcount()));
    return static_cast<std::uint32_t>(buffer.size());
}

std::vector<std::wstring> listFiles(std::wstring_view folder, std::wstring_view pattern,
                                    bool recursive) {
    const std::string match =
        pattern == L"*.*" ? std::string(1, '*') : platform::text::toUtf8(pattern);
    std::vector<std::wstring> files;
    collectFiles(withSlash(folder), match, recursive, files);
    return files;
}

std::vector<std::wstring> listFolders(std::wstring_view folder, bool recursive) {
    std::vector<std::wstring> folders;
    collectFolders(withSlash(folder), recursive, folders);
    return folders;
}

std::uint64_t fileWriteTime(std::wstring_view path) {
    struct stat info {};
    if (path.empty() || stat(bytePath(path).c_str(), &info) != 0) {
        return 0;
    }
    constexpr std::uint64_t kSecondsFrom1601To1970 = 11644473600ULL;
    return (static_cast<std::uint64_t>(info.st_mtim.tv_sec) + kSecondsFrom1601To1970) *
               10000000ULL +
           static_cast<std::uint64_t>(info.st_mtim.tv_nsec) / 100;
}

}  // namespace common
