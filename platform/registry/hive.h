// One registry root's storage. A hive runs a reader on its current tree, or runs a change
// on it and keeps the result, as one step that no other thread or process interleaves with.
//
// Contract: implementations are thread-safe. A reader or change returns the status of the
// registry call it serves; the hive returns that status, or its own failure (a hive that
// cannot be written answers ERROR_ACCESS_DENIED to every change).
#pragma once

#include <functional>

#include "platform/registry/tree.h"

namespace platform::registry {

class Hive {
  public:
    using Reader = std::function<LONG(const Key&)>;
    // Sets `changed` when the tree must be stored.
    using Change = std::function<LONG(Key&, bool& changed)>;

    virtual ~Hive() = default;
    virtual LONG read(const Reader& reader) = 0;
    virtual LONG modify(const Change& change) = 0;
    virtual bool isWritable() const = 0;
};

}  // namespace platform::registry
