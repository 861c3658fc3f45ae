#include "platform/system/module_path.h"

#include <dlfcn.h>
#include <limits.h>
#include <link.h>
#include <stdlib.h>
#include <unistd.h>

#include <memory>

namespace platform::system {
namespace {

const char moduleAnchor = 0;

std::string parentOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0) {
        return {};
    }
    return path.substr(0, slash);
}

std::string resolved(const char* path) {
    std::unique_ptr<char, decltype(&free)> full(realpath(path, nullptr), &free);
    return full ? std::string(full.get()) : std::string();
}

}  // namespace

std::string programPath() {
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) {
        return {};
    }
    return std::string(buffer, static_cast<std::size_t>(length));
}

std::string modulePathOf(const void* address) {
    Dl_info info{};
    link_map* map = nullptr;
    if (dladdr1(address, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) == 0) {
        return {};
    }
    // The program's own entry has an empty name; its file is known to the kernel.
    if (map == nullptr || map->l_name == nullptr || map->l_name[0] == '\0') {
        return programPath();
    }
    return resolved(map->l_name);
}

std::string modulePath() {
    return modulePathOf(&moduleAnchor);
}

std::string installationRoot() {
    return parentOf(parentOf(modulePath()));
}

std::string dataFolder() {
    const std::string root = installationRoot();
    return root.empty() ? std::string() : root + "/data";
}

}  // namespace platform::system
