// The registry calls the settings code is written against. A key handle names a root and
// a key path with the access it was opened for; it holds no data, so every call sees the
// store as it is now (another process may have changed it). Names are compared without
// case. REG_SZ data is wide text as in memory: (length + 1) * sizeof(wchar_t) bytes with
// the terminating NUL.
//
// Contract: thread-safe; every call returns ERROR_SUCCESS or an error code and never
// throws (except std::bad_alloc). Handles from RegOpenKeyExW / RegCreateKeyExW are freed
// by RegCloseKey; the predefined roots need no closing. A handle whose key was deleted
// answers ERROR_KEY_DELETED. HKEY_LOCAL_MACHINE and HKEY_CLASSES_ROOT are read-only:
// opening them for writing or changing them gives ERROR_ACCESS_DENIED.
#pragma once

#include "platform/registry/types.h"

namespace platform::registry {

LONG RegOpenKeyExW(HKEY key, const wchar_t* subKey, DWORD options, REGSAM access, HKEY* result);

// Opens the key, creating it and its missing parents; `disposition` (when given) receives
// REG_CREATED_NEW_KEY or REG_OPENED_EXISTING_KEY. The class and security are ignored.
LONG RegCreateKeyExW(HKEY key, const wchar_t* subKey, DWORD reserved, wchar_t* keyClass,
                     DWORD options, REGSAM access, const void* security, HKEY* result,
                     DWORD* disposition);

LONG RegCloseKey(HKEY key);

// With `data` null only the type and size are reported. A buffer too small gives
// ERROR_MORE_DATA with the needed size in `dataSize`.
LONG RegQueryValueExW(HKEY key, const wchar_t* valueName, DWORD* reserved, DWORD* type, BYTE* data,
                      DWORD* dataSize);

LONG RegSetValueExW(HKEY key, const wchar_t* valueName, DWORD reserved, DWORD type,
                    const BYTE* data, DWORD dataSize);

// The index-th value (in name order): `valueNameChars` holds the buffer's size in
// characters and receives the name's length; ERROR_MORE_DATA when a buffer is too small,
// ERROR_NO_MORE_ITEMS past the last value.
LONG RegEnumValueW(HKEY key, DWORD index, wchar_t* valueName, DWORD* valueNameChars,
                   DWORD* reserved, DWORD* type, BYTE* data, DWORD* dataSize);

// The index-th sub-key name (in name order), with the same buffer rules.
LONG RegEnumKeyExW(HKEY key, DWORD index, wchar_t* name, DWORD* nameChars,
                   DWORD* reserved = nullptr, wchar_t* keyClass = nullptr,
                   DWORD* classChars = nullptr, void* lastWriteTime = nullptr);

LONG RegDeleteValueW(HKEY key, const wchar_t* valueName);

// Deletes a sub-key that has no sub-keys of its own (else ERROR_ACCESS_DENIED).
LONG RegDeleteKeyW(HKEY key, const wchar_t* subKey);

// Deletes a sub-key with everything below it; with `subKey` null or empty, empties the
// key itself (its values and sub-keys).
LONG RegDeleteTreeW(HKEY key, const wchar_t* subKey);

// Copies the values and sub-keys below `source`\`subKey` into `destination`, merging with
// what is there. The source is read whole before anything is written, so copying a key
// into its own subtree copies it once and ends.
LONG RegCopyTreeW(HKEY source, const wchar_t* subKey, HKEY destination);

}  // namespace platform::registry
