#include "platform/registry/memory_hive.h"

namespace platform::registry {

LONG MemoryHive::read(const Reader& reader) {
    std::lock_guard lock(mutex_);
    return reader(tree_);
}

LONG MemoryHive::modify(const Change& change) {
    if (!writable_) {
        return ERROR_ACCESS_DENIED;
    }
    std::lock_guard lock(mutex_);
    Key working = tree_;
    bool changed = false;
    const LONG status = change(working, changed);
    if (changed) {
        tree_ = std::move(working);
    }
    return status;
}

}  // namespace platform::registry
