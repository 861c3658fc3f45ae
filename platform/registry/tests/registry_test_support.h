// Small helpers for the registry tests: typed reads and writes over the handle API.
#pragma once

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry/registry.h"

namespace registry_test {

using namespace platform::registry;

inline LONG setText(HKEY key, const wchar_t* name, const std::wstring& text) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

inline LONG setNumber(HKEY key, const wchar_t* name, DWORD number) {
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                          sizeof number);
}

inline std::optional<std::wstring> text(HKEY key, const wchar_t* name) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return std::nullopt;
    }
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1);
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                         &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(buffer.data());
}

// Opens (creating) a key below `root`; the caller closes it.
inline HKEY create(HKEY root, const wchar_t* path) {
    HKEY key = nullptr;
    return RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
                   ERROR_SUCCESS
               ? key
               : nullptr;
}

}  // namespace registry_test
