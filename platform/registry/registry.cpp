#include "platform/registry/registry.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <optional>
#include <string>

#include "platform/registry/store.h"
#include "platform/registry/tree.h"

namespace platform::registry {

struct KeyHandle {
    Root root;
    KeyPath path;
    REGSAM access;
    bool predefined = false;
};

namespace {

KeyHandle classesRootHandle{Root::ClassesRoot, {}, KEY_ALL_ACCESS, true};
KeyHandle currentUserHandle{Root::CurrentUser, {}, KEY_ALL_ACCESS, true};
KeyHandle localMachineHandle{Root::LocalMachine, {}, KEY_ALL_ACCESS, true};

constexpr REGSAM kWriteRights = KEY_SET_VALUE | KEY_CREATE_SUB_KEY;

std::wstring_view nameOf(const wchar_t* name) {
    return name == nullptr ? std::wstring_view() : std::wstring_view(name);
}

KeyPath childPath(const KeyHandle& key, const wchar_t* subKey) {
    KeyPath path = key.path;
    for (auto& segment : splitKeyPath(nameOf(subKey))) {
        path.push_back(std::move(segment));
    }
    return path;
}

bool allows(const KeyHandle& key, REGSAM right) {
    return (key.access & right) == right;
}

LONG readKey(const KeyHandle& key, const std::function<LONG(const Key&)>& reader) {
    return hiveFor(key.root)->read([&](const Key& tree) {
        const Key* found = findKey(tree, key.path);
        return found == nullptr ? ERROR_KEY_DELETED : reader(*found);
    });
}

LONG changeKey(const KeyHandle& key, const std::function<LONG(Key&, bool&)>& change) {
    return hiveFor(key.root)->modify([&](Key& tree, bool& changed) {
        Key* found = findKey(tree, key.path);
        return found == nullptr ? ERROR_KEY_DELETED : change(*found, changed);
    });
}

// Copies `data` to the caller's buffer with the registry's size protocol.
LONG deliverData(const std::vector<BYTE>& data, BYTE* buffer, DWORD* size) {
    const auto needed = static_cast<DWORD>(data.size());
    if (buffer == nullptr) {
        if (size != nullptr) {
            *size = needed;
        }
        return ERROR_SUCCESS;
    }
    if (size == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    const DWORD room = *size;
    *size = needed;
    if (room < needed) {
        return ERROR_MORE_DATA;
    }
    std::copy(data.begin(), data.end(), buffer);
    return ERROR_SUCCESS;
}

LONG deliverName(const std::wstring& name, wchar_t* buffer, DWORD* chars) {
    if (buffer == nullptr || chars == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    if (*chars < name.size() + 1) {
        return ERROR_MORE_DATA;
    }
    std::copy(name.begin(), name.end(), buffer);
    buffer[name.size()] = L'\0';
    *chars = static_cast<DWORD>(name.size());
    return ERROR_SUCCESS;
}

template <class Map>
std::optional<typename Map::const_iterator> nth(const Map& map, DWORD index) {
    if (index >= map.size()) {
        return std::nullopt;
    }
    return std::next(map.begin(), index);
}

void merge(Key& destination, const Key& source) {
    for (const auto& [name, value] : source.values) {
        destination.values.insert_or_assign(name, value);
    }
    for (const auto& [name, child] : source.subkeys) {
        merge(destination.subkeys[name], child);
    }
}

bool isValid(HKEY key) {
    return key != nullptr;
}

}  // namespace

const HKEY HKEY_CLASSES_ROOT = &classesRootHandle;
const HKEY HKEY_CURRENT_USER = &currentUserHandle;
const HKEY HKEY_LOCAL_MACHINE = &localMachineHandle;

LONG RegOpenKeyExW(HKEY key, const wchar_t* subKey, DWORD, REGSAM access, HKEY* result) {
    if (!isValid(key) || result == nullptr) {
        return isValid(key) ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE;
    }
    *result = nullptr;
    if ((access & kWriteRights) != 0 && !hiveFor(key->root)->isWritable()) {
        return ERROR_ACCESS_DENIED;
    }
    KeyPath path = childPath(*key, subKey);
    const LONG status = hiveFor(key->root)->read([&](const Key& tree) {
        return findKey(tree, path) != nullptr ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    });
    if (status == ERROR_SUCCESS) {
        *result = new KeyHandle{key->root, std::move(path), access};
    }
    return status;
}

LONG RegCreateKeyExW(HKEY key, const wchar_t* subKey, DWORD, wchar_t*, DWORD, REGSAM access,
                     const void*, HKEY* result, DWORD* disposition) {
    if (!isValid(key) || result == nullptr) {
        return isValid(key) ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE;
    }
    *result = nullptr;
    KeyPath path = childPath(*key, subKey);
    if (path.size() > key->path.size() && !allows(*key, KEY_CREATE_SUB_KEY)) {
        return ERROR_ACCESS_DENIED;
    }
    bool created = false;
    const LONG status = hiveFor(key->root)->modify([&](Key& tree, bool& changed) {
        if (findKey(tree, key->path) == nullptr) {
            return ERROR_KEY_DELETED;
        }
        createKey(tree, path, created);
        changed = created;
        return ERROR_SUCCESS;
    });
    if (status == ERROR_SUCCESS) {
        *result = new KeyHandle{key->root, std::move(path), access};
        if (disposition != nullptr) {
            *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
        }
    }
    return status;
}

LONG RegCloseKey(HKEY key) {
    if (!isValid(key)) {
        return ERROR_INVALID_HANDLE;
    }
    if (!key->predefined) {
        delete key;
    }
    return ERROR_SUCCESS;
}

LONG RegQueryValueExW(HKEY key, const wchar_t* valueName, DWORD*, DWORD* type, BYTE* data,
                      DWORD* dataSize) {
    if (!isValid(key)) {
        return ERROR_INVALID_HANDLE;
    }
    if (!allows(*key, KEY_QUERY_VALUE)) {
        return ERROR_ACCESS_DENIED;
    }
    return readKey(*key, [&](const Key& found) {
        const auto value = found.values.find(nameOf(valueName));
        if (value == found.values.end()) {
            return ERROR_FILE_NOT_FOUND;
        }
        if (type != nullptr) {
            *type = value->second.type;
        }
        return deliverData(value->second.data, data, dataSize);
    });
}

LONG RegSetValueExW(HKEY key, const wchar_t* valueName, DWORD, DWORD type, const BYTE* data,
                    DWORD dataSize) {
    if (!isValid(key)) {
        return ERROR_INVALID_HANDLE;
    }
    if (data == nullptr && dataSize != 0) {
        return ERROR_INVALID_PARAMETER;
    }
    if (!allows(*key, KEY_SET_VALUE)) {
        return ERROR_ACCESS_DENIED;
    }
    Value value{type, std::vector<BYTE>(data, data + dataSize)};
    return changeKey(*key, [&](Key& found, bool& changed) {
        auto& slot = found.values[std::wstring(nameOf(valueName))];
        changed = !(slot == value);
        slot = std::move(value);
        return ERROR_SUCCESS;
    });
}

LONG RegEnumValueW(HKEY key, DWORD index, wchar_t* valueName, DWORD* valueNameChars, DWORD*,
                   DWORD* type, BYTE* data, DWORD* dataSize) {
    if (!isValid(key)) {
        return ERROR_INVALID_HANDLE;
    }
    if (!allows(*key, KEY_QUERY_VALUE)) {
        return ERROR_ACCESS_DENIED;
    }
    return readKey(*key, [&](const Key& found) {
        const auto entry = nth(found.values, index);
        if (!entry) {
            return ERROR_NO_MORE_ITEMS;
        }
        const auto& [name, value] = **entry;
        if (type != nullptr) {
            *type = value.type;
        }
        const LONG nameStatus = deliverName(name, valueName, valueNameChars);
        const LONG dataStatus = deliverData(value.data, data, dataSize);
        return nameStatus != ERROR_SUCCESS ? nameStatus : dataStatus;
    });
}

LONG RegEnumKeyExW(HKEY key, DWORD index, wchar_t* name, DWORD* nameChars, DWORD*, wchar_t*,
                   DWORD* classChars, void*) {
    if (!isValid(key)) {
        return ERROR_INVALID_HANDLE;
    }
    if (!allows(*key, KEY_ENUMERATE_SUB_KEYS)) {
        return ERROR_ACCESS_DENIED;
    }
    if (classChars != nullptr) {
        *classChars = 0;
    }
    return readKey(*key, [&](const Key& found) {
        const auto entry = nth(found.subkeys, index);
        return entry ? deliverName((*entry)->first, name, nameChars) : ERROR_NO_MORE_ITEMS;
    });
}

LONG RegDeleteValueW(HKEY key, const wchar_t* valueName) {
    if (!isValid(key)) {
        return ERROR_INVALID_HANDLE;
    }
    if (!allows(*key, KEY_SET_VALUE)) {
        return ERROR_ACCESS_DENIED;
    }
    return changeKey(*key, [&](Key& found, bool& changed) {
        const auto value = found.values.find(nameOf(valueName));
        if (value == found.values.end()) {
            return ERROR_FILE_NOT_FOUND;
        }
        found.values.erase(value);
        changed = true;
        return ERROR_SUCCESS;
    });
}

namespace {

LONG deleteBelow(HKEY key, const wchar_t* subKey, bool withSubkeys) {
    if (!isValid(key)) {
        return ERROR_INVALID_HANDLE;
    }
    const KeyPath path = childPath(*key, subKey);
    return hiveFor(key->root)->modify([&](Key& tree, bool& changed) {
        Key* target = findKey(tree, path);
        if (target == nullptr) {
            return findKey(tree, key->path) == nullptr ? ERROR_KEY_DELETED : ERROR_FILE_NOT_FOUND;
        }
        if (!withSubkeys && !target->subkeys.empty()) {
            return ERROR_ACCESS_DENIED;
        }
        if (path.empty() || path.size() == key->path.size()) {
            if (!withSubkeys) {
                return ERROR_INVALID_PARAMETER;
            }
            changed = !target->values.empty() || !target->subkeys.empty();
            *target = Key{};
            return ERROR_SUCCESS;
        }
        KeyPath parentPath(path.begin(), path.end() - 1);
        findKey(tree, parentPath)->subkeys.erase(path.back());
        changed = true;
        return ERROR_SUCCESS;
    });
}

}  // namespace

LONG RegDeleteKeyW(HKEY key, const wchar_t* subKey) {
    return deleteBelow(key, subKey, false);
}

LONG RegDeleteTreeW(HKEY key, const wchar_t* subKey) {
    return deleteBelow(key, subKey, true);
}

LONG RegCopyTreeW(HKEY source, const wchar_t* subKey, HKEY destination) {
    if (!isValid(source) || !isValid(destination)) {
        return ERROR_INVALID_HANDLE;
    }
    if (!allows(*source, KEY_READ) || !allows(*destination, KEY_WRITE)) {
        return ERROR_ACCESS_DENIED;
    }
    const KeyPath sourcePath = childPath(*source, subKey);
    Key snapshot;
    const LONG status = hiveFor(source->root)->read([&](const Key& tree) {
        const Key* found = findKey(tree, sourcePath);
        if (found == nullptr) {
            return ERROR_FILE_NOT_FOUND;
        }
        snapshot = *found;
        return ERROR_SUCCESS;
    });
    if (status != ERROR_SUCCESS) {
        return status;
    }
    return changeKey(*destination, [&](Key& found, bool& changed) {
        const Key before = found;
        merge(found, snapshot);
        changed = !(found == before);
        return ERROR_SUCCESS;
    });
}

}  // namespace platform::registry
