// The classes root as far as the system reads it: one key per file extension (".png")
// holding a "Content Type" value. The built-in table covers the types the system serves;
// /etc/mime.types adds the rest without overriding the table.
//
// Contract: pure functions; the tree is built by the caller (store.cpp builds it once).
#pragma once

#include <string_view>

#include "platform/registry/tree.h"

namespace platform::registry {

Key builtInContentTypes();

// Adds the extensions listed in mime.types text ("type ext ext ...", "#" comments) that
// the tree does not have yet.
void addMimeTypes(Key& classesRoot, std::string_view mimeTypesText);

// A REG_SZ value holding `text`.
Value stringValue(std::wstring_view text);

}  // namespace platform::registry
