// The base of the registry-bound values: one value under a key of a registry root, opened
// for each operation and closed right after, so no key handle outlives a call.
//
// The path given to a value is the key path, a backslash and the value name; a path
// without a backslash is both. The flags choose when the value is read and written:
//   kRegistrySaveOnAssign (1)  no load on construction; an assignment saves at once
//   kRegistryNoWriteBack  (2)  never written back on destruction
//   kRegistryAlwaysStore  (4)  no load on construction; every assignment stores and saves,
//                              and a value equal to the default is written too
// With no flag the value is loaded on construction and written back on destruction (only
// when it differs from the default or was stored already).
//
// Contract: one object per thread; registry failures never throw, they show in the results
// of load/save/exists only. Several objects for one value may exist; the last save wins.
#pragma once

#include <cstdint>
#include <string>

#include "platform/registry/types.h"

namespace common {

using platform::registry::HKEY;

inline constexpr int kRegistrySaveOnAssign = 1;
inline constexpr int kRegistryNoWriteBack = 2;
inline constexpr int kRegistryAlwaysStore = 4;

class registry_value {
  public:
    registry_value(const registry_value&) = delete;
    registry_value& operator=(const registry_value&) = delete;
    virtual ~registry_value();

    // True when the value is stored (its key may be open already, e.g. during save).
    bool exists();

    const std::wstring& keyPath() const { return keyPath_; }
    const std::wstring& valueName() const { return valueName_; }

  protected:
    registry_value(const std::wstring& path, HKEY root, int flags);

    bool openForRead();
    // Opens, creating the key; falls back to a read-only open (a write through it fails).
    bool openForWrite();
    void close();

    // Reads the stored bytes of the open key's value when its type is `type`.
    bool readStored(platform::registry::DWORD type, std::wstring& text);
    bool readStored(platform::registry::DWORD type, platform::registry::DWORD& number);
    bool writeStored(const std::wstring& text);
    bool writeStored(platform::registry::DWORD number);

    bool loadsOnConstruction() const;
    bool savesOnAssignment() const;
    bool storesEveryAssignment() const;
    bool writesBackOnDestruction() const;
    bool writesDefault() const;

    std::uint16_t flags_;
    HKEY key_ = nullptr;
    HKEY root_;
    std::wstring keyPath_;
    std::wstring valueName_;
};

}  // namespace common
