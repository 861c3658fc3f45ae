// The in-memory form of one registry root: keys holding named values and sub-keys, names
// kept in the spelling they were created with and compared without case. The value named
// "" is the key's default value.
//
// Contract: plain data, no locking; the hive that owns a tree serializes access to it.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/registry/names.h"
#include "platform/registry/types.h"

namespace platform::registry {

struct Value {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;

    bool operator==(const Value&) const = default;
};

struct Key {
    std::map<std::wstring, Value, NameLess> values;
    std::map<std::wstring, Key, NameLess> subkeys;

    bool operator==(const Key&) const = default;
};

using KeyPath = std::vector<std::wstring>;

// Splits "a\b\c" at each backslash; empty segments are skipped.
KeyPath splitKeyPath(std::wstring_view path);
std::wstring joinKeyPath(const KeyPath& path);

const Key* findKey(const Key& root, const KeyPath& path);
Key* findKey(Key& root, const KeyPath& path);

// The key at `path`, created with its missing parents; `created` tells whether any was.
Key& createKey(Key& root, const KeyPath& path, bool& created);

}  // namespace platform::registry
