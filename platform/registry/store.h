// Which hive serves each root: the current user's settings file, the installation's file
// and the content-type table; or, inside a ScopedMemoryRegistry, fresh in-memory hives.
//
// Contract: thread-safe. A ScopedMemoryRegistry replaces the user and machine roots for
// the whole process (both writable, both empty at first) until it is destroyed; the
// content-type root stays. Overrides nest and are meant for tests.
#pragma once

#include <memory>

#include "platform/registry/hive.h"

namespace platform::registry {

enum class Root { ClassesRoot, CurrentUser, LocalMachine };

std::shared_ptr<Hive> hiveFor(Root root);

class ScopedMemoryRegistry {
  public:
    ScopedMemoryRegistry();
    ScopedMemoryRegistry(const ScopedMemoryRegistry&) = delete;
    ScopedMemoryRegistry& operator=(const ScopedMemoryRegistry&) = delete;
    ~ScopedMemoryRegistry();

  private:
    std::shared_ptr<Hive> previousUser_;
    std::shared_ptr<Hive> previousMachine_;
};

}  // namespace platform::registry
