#include "plugin/export/output_file.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cwctype>
#include <filesystem>

#include "common/util/file_name_rule.h"
#include "common/util/path_tools.h"
#include "platform/text/utf.h"
#include "plugin/util/files.h"

namespace plugin {

namespace {

std::wstring lowerCase(std::wstring text) {
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return text;
}

}  // namespace

std::string nativeFilePath(const std::wstring& path) {
    return platform::text::toUtf8(common::nativePath(path));
}

OutputFile::OutputFile(const std::string& target) : target_(target) {
    const auto slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    temporary_ = folder + "." + name + ".XXXXXX";
    fd_ = ::mkstemp(temporary_.data());
    if (fd_ < 0) {
        temporary_.clear();
        return;
    }
    ::fchmod(fd_, 0644);
}

OutputFile::~OutputFile() {
    if (fd_ >= 0)
        ::close(fd_);
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
}

bool OutputFile::append(std::string_view bytes) {
    while (fd_ >= 0 && !bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return fd_ >= 0;
}

bool OutputFile::commit() {
    if (fd_ < 0)
        return false;
    const bool synced = ::fsync(fd_) == 0;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!synced || !closed || ::rename(temporary_.c_str(), target_.c_str()) != 0)
        return false;
    temporary_.clear();
    return true;
}

TemporaryFolder::TemporaryFolder() {
    std::error_code error;
    std::string pattern = (std::filesystem::temp_directory_path(error) / "tamrix-export-XXXXXX");
    if (!error && ::mkdtemp(pattern.data()) != nullptr)
        path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
    if (path_.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::wstring freePathBeside(const std::wstring& path) {
    const auto taken = [](const std::wstring& candidate) {
        std::error_code error;
        return std::filesystem::symlink_status(nativeFilePath(candidate), error).type() !=
               std::filesystem::file_type::not_found;
    };
    if (!taken(path))
        return path;
    const auto slash = path.find_last_of(L"/\\");
    const auto dot = path.rfind(L'.');
    const bool hasExtension =
        dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash + 1);
    const std::wstring stem = hasExtension ? path.substr(0, dot) : path;
    const std::wstring extension = hasExtension ? path.substr(dot) : L"";
    std::wstring candidate;
    for (int copy = 2;; ++copy) {
        candidate = stem + L" (" + std::to_wstring(copy) + L")" + extension;
        if (!taken(candidate))
            return candidate;
    }
}

FileNamer::FileNamer(std::wstring folder) : folder_(std::move(folder)) {
    if (!folder_.empty() && folder_.back() != L'/' && folder_.back() != L'\\')
        folder_ += L'/';
}

std::wstring FileNamer::pathFor(const std::wstring& title, const std::wstring& extension) {
    const std::wstring base = common::fileNameFromTitle(title);
    std::wstring name = base + extension;
    // Case-insensitive, so the names stay apart on folders that ignore case.
    for (int copy = 2; used_.count(lowerCase(name)) > 0; ++copy)
        name = base + L" (" + std::to_wstring(copy) + L")" + extension;
    used_.insert(lowerCase(name));
    return folder_ + name;
}

}  // namespace plugin
