#include "platform/registry/store.h"

#include <mutex>
#include <string>
#include <utility>

#include "platform/registry/content_types.h"
#include "platform/registry/file_hive.h"
#include "platform/registry/memory_hive.h"
#include "platform/system/atomic_file.h"

namespace platform::registry {
namespace {

struct Hives {
    std::mutex mutex;
    std::shared_ptr<Hive> user = std::make_shared<UserFileHive>();
    std::shared_ptr<Hive> machine = std::make_shared<MachineFileHive>();
};

Hives& hives() {
    static Hives instance;
    return instance;
}

std::shared_ptr<Hive> classesRoot() {
    static const std::shared_ptr<Hive> hive = [] {
        Key root = builtInContentTypes();
        std::string mimeTypes;
        if (system::readWholeFile("/etc/mime.types", mimeTypes)) {
            addMimeTypes(root, mimeTypes);
        }
        return std::make_shared<MemoryHive>(std::move(root), false);
    }();
    return hive;
}

}  // namespace

std::shared_ptr<Hive> hiveFor(Root root) {
    if (root == Root::ClassesRoot) {
        return classesRoot();
    }
    auto& all = hives();
    std::lock_guard lock(all.mutex);
    return root == Root::CurrentUser ? all.user : all.machine;
}

ScopedMemoryRegistry::ScopedMemoryRegistry() {
    auto& all = hives();
    std::lock_guard lock(all.mutex);
    previousUser_ = std::exchange(all.user, std::make_shared<MemoryHive>());
    previousMachine_ = std::exchange(all.machine, std::make_shared<MemoryHive>());
}

ScopedMemoryRegistry::~ScopedMemoryRegistry() {
    auto& all = hives();
    std::lock_guard lock(all.mutex);
    all.user = std::move(previousUser_);
    all.machine = std::move(previousMachine_);
}

}  // namespace platform::registry
