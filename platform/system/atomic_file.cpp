#include "platform/system/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <ctime>

namespace platform::system {
namespace {

constexpr std::string_view kTemporaryMark = ".tmp-";

std::string temporaryNameFor(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return path + std::string(kTemporaryMark) + std::to_string(getpid()) + "-" +
           std::to_string(++counter);
}

bool allDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

// The name ends in ".tmp-" process "-" count, after a target's name.
bool hasTemporaryName(std::string_view path) {
    const std::string_view name = path.substr(path.rfind('/') + 1);
    const std::size_t mark = name.rfind(kTemporaryMark);
    if (mark == std::string_view::npos || mark == 0)
        return false;
    const std::string_view numbers = name.substr(mark + kTemporaryMark.size());
    const std::size_t dash = numbers.find('-');
    return dash != std::string_view::npos && allDigits(numbers.substr(0, dash)) &&
           allDigits(numbers.substr(dash + 1));
}

bool writeAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

void syncFolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        fsync(descriptor);
        ::close(descriptor);
    }
}

}  // namespace

bool writeFileAtomically(const std::string& path, std::string_view bytes, unsigned mode) {
    return writeFileAtomically(path, {bytes}, Durability::flushed, mode);
}

bool writeFileAtomically(const std::string& path, std::initializer_list<std::string_view> pieces,
                         Durability durability, unsigned mode) {
    const std::string temporary = temporaryNameFor(path);
    const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (descriptor < 0) {
        return false;
    }
    const bool flushed = durability == Durability::flushed;
    bool ok = true;
    for (const std::string_view piece : pieces) {
        ok = ok && writeAll(descriptor, piece);
    }
    ok = ok && (!flushed || fsync(descriptor) == 0);
    const int savedError = errno;
    ok = (::close(descriptor) == 0) && ok;
    if (ok && std::rename(temporary.c_str(), path.c_str()) == 0) {
        if (flushed) {
            syncFolderOf(path);
        }
        return true;
    }
    const int failure = ok ? errno : savedError;
    std::remove(temporary.c_str());
    errno = failure;
    return false;
}

bool isAbandonedTemporary(const std::string& path, std::chrono::seconds age) {
    struct stat info {};
    if (!hasTemporaryName(path) || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    return std::time(nullptr) - info.st_mtim.tv_sec > age.count();
}

bool readWholeFile(const std::string& path, std::string& bytes) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return false;
    }
    bytes.clear();
    char buffer[65536];
    while (true) {
        const ssize_t count = ::read(descriptor, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            const int savedError = errno;
            ::close(descriptor);
            errno = savedError;
            return count == 0;
        }
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
}

bool createEmptyFile(const std::string& path, unsigned mode) {
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (descriptor >= 0)
        return ::close(descriptor) == 0;
    struct stat info {};
    return errno == EEXIST && ::stat(path.c_str(), &info) == 0;
}

bool createFolders(const std::string& folder, unsigned mode) {
    if (folder.empty()) {
        errno = ENOENT;
        return false;
    }
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (mkdir(part.c_str(), mode) != 0 && errno != EEXIST) {
            return false;
        }
        if (slash == std::string::npos) {
            break;
        }
    }
    struct stat info {};
    if (stat(folder.c_str(), &info) != 0) {
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        errno = ENOTDIR;
        return false;
    }
    return true;
}

}  // namespace platform::system
