// A hive kept only in memory: writable, starts with the tree it is given. Serves tests and
// the fixed content-type table.
//
// Contract: thread-safe through one mutex.
#pragma once

#include <mutex>

#include "platform/registry/hive.h"

namespace platform::registry {

class MemoryHive : public Hive {
  public:
    explicit MemoryHive(Key tree = {}, bool writable = true)
        : tree_(std::move(tree)), writable_(writable) {}

    LONG read(const Reader& reader) override;
    LONG modify(const Change& change) override;
    bool isWritable() const override { return writable_; }

  private:
    std::mutex mutex_;
    Key tree_;
    bool writable_;
};

}  // namespace platform::registry
