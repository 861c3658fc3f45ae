// The load/save/assign rules shared by the registry-bound values of every type (see
// registry_value.h for the flags). A derived class says how its type is read from and
// written to the open key, and calls writeBack() from its own destructor.
//
// Contract: as registry_value; `value` and `defaultValue` are plain members.
#pragma once

#include <string>

#include "common/util/registry_value.h"

namespace common {

template <class T>
class registry_bound : public registry_value {
  public:
    T value;
    T defaultValue;

    registry_bound& operator=(const T& newValue) {
        if (newValue != value || storesEveryAssignment()) {
            value = newValue;
            if (savesOnAssignment()) {
                save();
            }
        }
        return *this;
    }

    operator const T&() const { return value; }

    // Reads the stored value; on any failure (missing, wrong type) the value becomes the
    // default and the result is false.
    bool load() {
        bool loaded = openForRead() && readValue(value);
        close();
        if (!loaded) {
            value = defaultValue;
        }
        return loaded;
    }

    // Writes the value; a value equal to the default that is not stored yet is skipped
    // (false) unless kRegistryAlwaysStore is set.
    bool save() {
        if (!openForWrite()) {
            return false;
        }
        const bool skip = value == defaultValue && !writesDefault() && !exists();
        const bool saved = !skip && writeValue(value);
        close();
        return saved;
    }

  protected:
    registry_bound(const std::wstring& path, HKEY root, const T& initial, int flags)
        : registry_value(path, root, flags), value(initial), defaultValue(initial) {}

    void loadIfWanted() {
        if (loadsOnConstruction()) {
            load();
        }
    }

    void writeBack() {
        if (writesBackOnDestruction()) {
            save();
        }
    }

    virtual bool readValue(T& into) = 0;
    virtual bool writeValue(const T& from) = 0;
};

}  // namespace common
