#include "platform/system/temporary_files.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <memory>
#include <mutex>

#include "platform/system/atomic_file.h"
#include "platform/system/file_lock.h"
#include "platform/system/folders.h"

namespace platform::system {

namespace {

namespace fs = std::filesystem;

constexpr const char* kLockName = "/lock";
constexpr std::string_view kNotePrefix = "leftover-";
// A folder without its lock file yet is being made by a process that is starting; one
// that stays so this long belongs to a process killed while making it.
constexpr auto kMakingTime = std::chrono::minutes(1);
constexpr int kMakeAttempts = 3;

struct ProcessFolder {
    std::mutex mutex;
    pid_t owner = 0;
    std::string path;
    std::unique_ptr<FileLock> lock;

    ~ProcessFolder() {
        if (owner != ::getpid() || path.empty())
            return;
        lock.reset();
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

ProcessFolder& processFolder() {
    static ProcessFolder folder;
    return folder;
}

// A folder of this process's: mkdtemp under `base` with the lock taken; "" when it
// cannot be made (a sweep in another process may take the lock between the two steps).
std::string makeLockedFolder(const std::string& base, std::unique_ptr<FileLock>& lock) {
    for (int attempt = 0; attempt < kMakeAttempts; ++attempt) {
        std::string pattern = base + "/" + std::to_string(::getpid()) + "-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr)
            return {};
        auto candidate = std::make_unique<FileLock>(pattern + kLockName);
        if (candidate->tryLock()) {
            lock = std::move(candidate);
            return pattern;
        }
        std::error_code ignored;
        fs::remove_all(pattern, ignored);
    }
    return {};
}

bool isYoung(const fs::path& path) {
    std::error_code error;
    const auto written = fs::last_write_time(path, error);
    return !error && fs::file_time_type::clock::now() - written < kMakingTime;
}

// Removes the files that the notes in `folder` name.
void removeNotedLeftovers(const fs::path& folder) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (!entry.path().filename().string().starts_with(kNotePrefix))
            continue;
        std::string noted;
        struct stat status {};
        if (readWholeFile(entry.path().string(), noted) && !noted.empty() &&
            ::lstat(noted.c_str(), &status) == 0 && S_ISREG(status.st_mode))
            ::unlink(noted.c_str());
    }
}

bool writeAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::string uniqueCount() {
    static std::atomic<unsigned> counter{0};
    return std::to_string(++counter);
}

}  // namespace

std::string userTemporaryFolder() {
    const std::string cache = cacheFolder();
    if (cache.empty())
        return {};
    const std::string folder = cache + "/Olvan/Temp";
    if (!createFolders(folder, 0700))
        return {};
    struct stat status {};
    if (::lstat(folder.c_str(), &status) != 0)
        return {};
    if (!S_ISDIR(status.st_mode) || status.st_uid != ::getuid()) {
        errno = S_ISDIR(status.st_mode) ? EACCES : ENOTDIR;
        return {};
    }
    if ((status.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0)
        return {};
    return folder;
}

std::string processTemporaryFolder() {
    ProcessFolder& state = processFolder();
    std::lock_guard guard(state.mutex);
    if (state.owner != ::getpid()) {
        // A forked child: the parent's folder and lock stay the parent's.
        static_cast<void>(state.lock.release());
        state.path.clear();
        state.owner = ::getpid();
    }
    const std::string base = userTemporaryFolder();
    if (!state.path.empty() && !base.empty() && fs::path(state.path).parent_path() == base &&
        ::access(state.path.c_str(), F_OK) == 0)
        return state.path;
    // First use, or the folder went away or moved with the environment.
    if (!state.path.empty()) {
        state.lock.reset();
        std::error_code ignored;
        fs::remove_all(state.path, ignored);
        state.path.clear();
    }
    if (!base.empty())
        state.path = makeLockedFolder(base, state.lock);
    return state.path;
}

int sweepAbandonedTemporaries() {
    const std::string base = userTemporaryFolder();
    if (base.empty())
        return 0;
    const std::string own = processTemporaryFolder();
    int removed = 0;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(base, error)) {
        std::error_code kind;
        if (!entry.is_directory(kind) || entry.is_symlink(kind) || entry.path() == own)
            continue;
        const std::string lockPath = entry.path().string() + kLockName;
        if (::access(lockPath.c_str(), F_OK) == 0) {
            FileLock probe(lockPath);
            if (!probe.tryLock())
                continue;  // its process lives
            removeNotedLeftovers(entry.path());
        } else if (isYoung(entry.path())) {
            continue;
        }
        std::error_code ignored;
        if (fs::remove_all(entry.path(), ignored) > 0)
            ++removed;
    }
    return removed;
}

TemporaryFile::TemporaryFile(const std::string& name) {
    errno = 0;
    const std::string folder = processTemporaryFolder();
    if (folder.empty()) {
        failure_ = errno != 0 ? errno : ENOENT;
        return;
    }
    const bool plain =
        !name.empty() && name.find('/') == std::string::npos && name != "." && name != "..";
    const std::string given = plain ? name : "file";
    const std::size_t dot = given.rfind('.');
    const std::string stem = dot == std::string::npos || dot == 0 ? given : given.substr(0, dot);
    const std::string extension = stem.size() == given.size() ? "" : given.substr(dot);
    for (int copy = 1; copy < 1000; ++copy) {
        const std::string candidate =
            folder + "/" + stem + (copy == 1 ? "" : "-" + std::to_string(copy)) + extension;
        descriptor_ =
            ::open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (descriptor_ >= 0) {
            path_ = candidate;
            return;
        }
        if (errno != EEXIST)
            break;
    }
    failure_ = errno;
}

TemporaryFile::~TemporaryFile() {
    if (descriptor_ >= 0)
        ::close(descriptor_);
    if (!path_.empty())
        ::unlink(path_.c_str());
}

bool TemporaryFile::write(std::string_view bytes) {
    if (descriptor_ < 0) {
        errno = path_.empty() ? failure_ : EBADF;
        return false;
    }
    return writeAll(descriptor_, bytes);
}

bool TemporaryFile::close(bool flush) {
    if (descriptor_ < 0) {
        errno = path_.empty() ? failure_ : EBADF;
        return false;
    }
    const bool flushed = !flush || ::fsync(descriptor_) == 0;
    const int error = errno;
    const bool closed = ::close(descriptor_) == 0;
    descriptor_ = -1;
    if (!flushed)
        errno = error;
    return flushed && closed;
}

void TemporaryFile::keep() {
    path_.clear();
}

TemporaryFolder::TemporaryFolder() {
    const std::string folder = processTemporaryFolder();
    if (folder.empty())
        return;
    std::string pattern = folder + "/folder-XXXXXX";
    if (::mkdtemp(pattern.data()) != nullptr)
        path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
    if (path_.empty())
        return;
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

LeftoverNote::LeftoverNote(const std::string& path) {
    const std::string folder = processTemporaryFolder();
    if (folder.empty())
        return;
    const std::string note = folder + "/" + std::string(kNotePrefix) + uniqueCount();
    const int descriptor =
        ::open(note.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (descriptor < 0)
        return;
    const bool written = writeAll(descriptor, path);
    ::close(descriptor);
    if (written)
        note_ = note;
    else
        ::unlink(note.c_str());
}

LeftoverNote::~LeftoverNote() {
    if (!note_.empty())
        ::unlink(note_.c_str());
}

}  // namespace platform::system
