#include "platform/system/folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <vector>

namespace platform::system {
namespace {

std::string absoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') {
        return {};
    }
    std::string folder = value;
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder == "/" ? std::string() : folder;
}

std::string belowHome(const char* relative) {
    const std::string home = homeFolder();
    return home.empty() ? std::string() : home + relative;
}

}  // namespace

std::string homeFolder() {
    if (std::string home = absoluteVariable("HOME"); !home.empty()) {
        return home;
    }
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr || found->pw_dir == nullptr || found->pw_dir[0] != '/') {
        return {};
    }
    std::string home = found->pw_dir;
    return home == "/" ? std::string() : home;
}

std::string appDataFolder() {
    if (std::string folder = absoluteVariable("XDG_DATA_HOME"); !folder.empty()) {
        return folder;
    }
    return belowHome("/.local/share");
}

namespace {

std::string configHome() {
    std::string config = absoluteVariable("XDG_CONFIG_HOME");
    return config.empty() ? belowHome("/.config") : config;
}

// The documents folder that the user's "user-dirs.dirs" names, as "$HOME/..." or an absolute
// path in double quotes; "" when it names none, or only the home (a folder turned off).
std::string documentsFromUserDirs() {
    const std::string config = configHome();
    if (config.empty())
        return {};
    std::ifstream file(config + "/user-dirs.dirs");
    const std::string key = "XDG_DOCUMENTS_DIR=\"";
    for (std::string line; std::getline(file, line);) {
        if (!line.starts_with(key) || line.size() < key.size() + 1 || line.back() != '"')
            continue;
        std::string value = line.substr(key.size(), line.size() - key.size() - 1);
        if (value.starts_with("$HOME")) {
            const std::string rest = value.substr(5);
            if (!rest.empty() && rest.front() != '/')
                return {};
            value = homeFolder() + rest;
        }
        while (value.size() > 1 && value.back() == '/')
            value.pop_back();
        if (value.empty() || value.front() != '/' || value == "/" || value == homeFolder())
            return {};
        return value;
    }
    return {};
}

}  // namespace

std::string personalFolder() {
    if (std::string folder = absoluteVariable("XDG_DOCUMENTS_DIR"); !folder.empty())
        return folder;
    if (std::string folder = documentsFromUserDirs(); !folder.empty())
        return folder;
    return belowHome("/Documents");
}

std::string settingsFolder() {
    const std::string config = configHome();
    return config.empty() ? std::string() : config + "/Olvan";
}

std::string cacheFolder() {
    if (std::string folder = absoluteVariable("XDG_CACHE_HOME"); !folder.empty()) {
        return folder;
    }
    return belowHome("/.cache");
}

std::string runtimeFolder() {
    if (std::string folder = absoluteVariable("XDG_RUNTIME_DIR"); !folder.empty()) {
        return folder;
    }
    const std::string folder = "/tmp/olvan-" + std::to_string(getuid());
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return {};
    }
    struct stat info {};
    if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != getuid()) {
        return {};
    }
    return folder;
}

}  // namespace platform::system
