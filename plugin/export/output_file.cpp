#include "plugin/export/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cwctype>
#include <filesystem>
#include <vector>

#include "common/util/file_name_rule.h"
#include "common/util/path_tools.h"
#include "platform/text/utf.h"
#include "plugin/util/files.h"

namespace plugin {

namespace {

// ".epub" of "/a/book.epub"; "" when the name has none.
std::string extensionOf(const std::string& path) {
    const std::string name = path.substr(path.rfind('/') + 1);
    const auto dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 || name.size() - dot > 16 ? "" : name.substr(dot);
}

// The folder the target goes in exists and takes new files (errno tells why not).
bool folderTakesFiles(const std::string& target) {
    const auto slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "."
                               : slash == 0               ? "/"
                                                          : target.substr(0, slash);
    struct stat status {};
    if (::stat(folder.c_str(), &status) != 0)
        return false;
    if (!S_ISDIR(status.st_mode)) {
        errno = ENOTDIR;
        return false;
    }
    return ::access(folder.c_str(), W_OK) == 0;
}

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
    if (folderTakesFiles(target))
        temporary_.emplace("export" + extensionOf(target));
}

int OutputFile::descriptor() const {
    return temporary_ ? temporary_->descriptor() : -1;
}

bool OutputFile::append(std::string_view bytes) {
    return temporary_ && temporary_->write(bytes);
}

bool OutputFile::commit() {
    if (!temporary_ || !temporary_->close(true) || ::chmod(temporary_->path().c_str(), 0644) != 0)
        return false;
    if (::rename(temporary_->path().c_str(), target_.c_str()) == 0) {
        temporary_->keep();
        return true;
    }
    return errno == EXDEV && copyOver();
}

// The target is on another file system: a copy beside it, flushed, renamed over it.
bool OutputFile::copyOver() {
    static std::atomic<unsigned> count{0};
    const auto slash = target_.rfind('/');
    const std::string copy = target_.substr(0, slash == std::string::npos ? 0 : slash + 1) +
                             ".tamrix-export-" + std::to_string(::getpid()) + "-" +
                             std::to_string(++count);
    const platform::system::LeftoverNote note(copy);
    const int in = ::open(temporary_->path().c_str(), O_RDONLY | O_CLOEXEC);
    const int out = ::open(copy.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    bool copied = in >= 0 && out >= 0 && ::fchmod(out, 0644) == 0;
    std::vector<char> buffer(1 << 16);
    while (copied) {
        const ssize_t got = ::read(in, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            copied = got == 0;
            break;
        }
        for (ssize_t done = 0; copied && done < got;) {
            const ssize_t put =
                ::write(out, buffer.data() + done, static_cast<std::size_t>(got - done));
            if (put < 0 && errno == EINTR)
                continue;
            copied = put > 0;
            done += put > 0 ? put : 0;
        }
    }
    copied = copied && ::fsync(out) == 0;
    const int error = errno;
    if (in >= 0)
        ::close(in);
    if (out >= 0 && ::close(out) != 0)
        copied = false;
    if (copied && ::rename(copy.c_str(), target_.c_str()) == 0)
        return true;
    if (out >= 0)
        ::unlink(copy.c_str());
    errno = error;
    return false;
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
