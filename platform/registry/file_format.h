// The text form in which a registry root is kept on disk:
//
//   olvan-registry 1
//   key "Software\\Olvan\\Tamrix"
//   value "Language" sz "en"
//   value "Count" dword 42
//   value "Blob" hex 3 0a0b0c
//   end
//
// Every key is listed (empty ones too) followed by its values. Quoted texts are UTF-8 with
// \\ \" \n \r \t and \u{hex} escapes. A REG_SZ value is written as text only when its data
// is one NUL-terminated wide string; any other data keeps its exact bytes as "hex <type>".
// The closing "end" line lets a cut-off file be told from a whole one.
//
// Contract: pure functions. parseRegistryText never throws on bad input: it returns
// std::nullopt and says why in `error`.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/registry/tree.h"

namespace platform::registry {

std::string formatRegistryText(const Key& root);
std::optional<Key> parseRegistryText(std::string_view text, std::string& error);

}  // namespace platform::registry
