#include "platform/registry/file_hive.h"

#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <mutex>
#include <optional>
#include <set>

#include "platform/registry/corruption.h"
#include "platform/registry/file_format.h"
#include "platform/system/atomic_file.h"
#include "platform/system/file_lock.h"
#include "platform/system/folders.h"
#include "platform/system/module_path.h"

namespace platform::registry {
namespace {

constexpr auto kLockTimeout = std::chrono::seconds(10);
constexpr char kFileName[] = "/registry.txt";

enum class LoadResult { Loaded, Missing, Unreadable, Corrupt };

LoadResult loadTree(const std::string& path, Key& tree, std::string& error) {
    tree = Key{};
    std::string bytes;
    if (!system::readWholeFile(path, bytes)) {
        return (errno == ENOENT || errno == ENOTDIR) ? LoadResult::Missing : LoadResult::Unreadable;
    }
    auto parsed = parseRegistryText(bytes, error);
    if (!parsed) {
        return LoadResult::Corrupt;
    }
    tree = std::move(*parsed);
    return LoadResult::Loaded;
}

bool exists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

std::string setAsideName(const std::string& path) {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &parts);
    const std::string base = path + ".corrupt-" + stamp;
    std::string name = base;
    for (int n = 2; exists(name); ++n) {
        name = base + "-" + std::to_string(n);
    }
    return name;
}

// Reports a damage that could not be moved out of the way only once per process, so a
// read-only or stubborn file does not repeat the message on every operation.
void reportOnce(const CorruptFileReport& report) {
    static std::mutex mutex;
    static std::set<std::string> reported;
    {
        std::lock_guard lock(mutex);
        if (!reported.insert(report.file + '\n' + report.reason).second) {
            return;
        }
    }
    reportCorruptFile(report);
}

// Loads the user's file while holding the exclusive lock; a damaged file is renamed aside.
// Returns the report to make once the lock is released.
std::optional<CorruptFileReport> loadLocked(const std::string& path, Key& tree,
                                            LoadResult& result) {
    std::string error;
    result = loadTree(path, tree, error);
    if (result != LoadResult::Corrupt) {
        return std::nullopt;
    }
    CorruptFileReport report{path, setAsideName(path), error};
    if (std::rename(path.c_str(), report.setAsideAs.c_str()) != 0) {
        report.setAsideAs.clear();
        return report;
    }
    result = LoadResult::Missing;
    return report;
}

void deliver(const std::optional<CorruptFileReport>& report) {
    if (!report) {
        return;
    }
    if (report->setAsideAs.empty()) {
        reportOnce(*report);
    } else {
        reportCorruptFile(*report);
    }
}

}  // namespace

std::string userRegistryFile() {
    const std::string folder = system::settingsFolder();
    return folder.empty() ? std::string() : folder + kFileName;
}

std::string machineRegistryFile() {
    const std::string folder = system::dataFolder();
    return folder.empty() ? std::string() : folder + kFileName;
}

LONG UserFileHive::read(const Reader& reader) {
    const std::string path = userRegistryFile();
    Key tree;
    if (path.empty()) {
        return reader(tree);
    }
    std::string error;
    LoadResult result = loadTree(path, tree, error);
    if (result == LoadResult::Corrupt) {
        // Look again under the lock: a writer may have replaced the file meanwhile, and only
        // the file that is still damaged is moved aside.
        std::optional<CorruptFileReport> report;
        {
            system::FileLock lock(path + ".lock");
            if (!lock.lock(kLockTimeout)) {
                return ERROR_LOCK_VIOLATION;
            }
            report = loadLocked(path, tree, result);
        }
        deliver(report);
    }
    if (result == LoadResult::Unreadable) {
        return ERROR_CANTREAD;
    }
    return reader(tree);
}

LONG UserFileHive::modify(const Change& change) {
    const std::string path = userRegistryFile();
    if (path.empty() || !system::createFolders(system::settingsFolder(), 0700)) {
        return ERROR_CANTWRITE;
    }
    std::optional<CorruptFileReport> report;
    LONG status = ERROR_SUCCESS;
    {
        system::FileLock lock(path + ".lock");
        if (!lock.lock(kLockTimeout)) {
            return ERROR_LOCK_VIOLATION;
        }
        Key tree;
        LoadResult result = LoadResult::Missing;
        report = loadLocked(path, tree, result);
        if (result == LoadResult::Unreadable) {
            status = ERROR_CANTREAD;
        } else if (result == LoadResult::Corrupt) {
            status = ERROR_CANTWRITE;
        } else {
            bool changed = false;
            status = change(tree, changed);
            if (changed && !system::writeFileAtomically(path, formatRegistryText(tree), 0600)) {
                status = ERROR_CANTWRITE;
            }
        }
    }
    deliver(report);
    return status;
}

LONG MachineFileHive::read(const Reader& reader) {
    const std::string path = machineRegistryFile();
    Key tree;
    if (!path.empty()) {
        std::string error;
        switch (loadTree(path, tree, error)) {
            case LoadResult::Unreadable:
                return ERROR_CANTREAD;
            case LoadResult::Corrupt:
                reportOnce({path, "", error});
                break;
            case LoadResult::Loaded:
            case LoadResult::Missing:
                break;
        }
    }
    return reader(tree);
}

}  // namespace platform::registry
