// Registry helpers built on the registry-bound values and the registry calls.
//
// Contract: thread-safe; failures are reported by the results listed, never thrown.
#pragma once

#include <string>

#include "platform/registry/types.h"

namespace common {

// Copies every value and sub-key of `source` into `destinationParent`\`destinationSubkey`
// (created when missing). The source is read whole before anything is written, so a copy
// into the source's own subtree ends. ERROR_SUCCESS or the failing call's error code.
platform::registry::LONG copyRegistryKey(platform::registry::HKEY source,
                                         platform::registry::HKEY destinationParent,
                                         const std::wstring& destinationSubkey);

// One setting under the current user's key, read or written at once (`path` is the key
// path and value name, as registry_value takes it). Reading gives `fallback` when the value
// is missing or of another type; a failed write is passed over.
std::wstring readUserText(const std::wstring& path, const std::wstring& fallback);
int readUserNumber(const std::wstring& path, int fallback);
void storeUserText(const std::wstring& path, const std::wstring& text);
void storeUserNumber(const std::wstring& path, int number);

// The "Content Type" registered for a file extension such as ".png"; "" when none is.
std::wstring getContentTypeForExtension(const std::wstring& extension);

}  // namespace common
