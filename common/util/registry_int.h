// A registry-bound number, stored as REG_DWORD (4 bytes). The settings use the signed
// 32-bit instance; an unsigned one serves values that need the full range.
//
//   registry_int<std::int32_t> mode(L"Software\\Olvan\\Tamrix\\Operate\\InitMode",
//                                   HKEY_CURRENT_USER, 0, 0);
//
// Contract: as registry_value (flags, threading, errors).
#pragma once

#include <cstdint>
#include <string>

#include "common/util/registry_bound.h"
#include "platform/registry/types.h"

namespace common {

template <class Integer>
class registry_int : public registry_bound<Integer> {
    static_assert(sizeof(Integer) == sizeof(platform::registry::DWORD));

  public:
    registry_int(const std::wstring& path, HKEY root, Integer defaultValue, int flags)
        : registry_bound<Integer>(path, root, defaultValue, flags) {
        this->loadIfWanted();
    }
    ~registry_int() override { this->writeBack(); }

    using registry_bound<Integer>::operator=;

  private:
    bool readValue(Integer& into) override {
        platform::registry::DWORD stored = 0;
        if (!this->readStored(platform::registry::REG_DWORD, stored)) {
            return false;
        }
        into = static_cast<Integer>(stored);
        return true;
    }

    bool writeValue(const Integer& from) override {
        return this->writeStored(static_cast<platform::registry::DWORD>(from));
    }
};

}  // namespace common
