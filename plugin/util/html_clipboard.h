// Puts HTML on the clipboard in the "HTML Format" layout (a header of byte offsets, then
// the fragment between its start and end comments), optionally with a plain-text form as
// CF_TEXT. Byte strings are UTF-8. Thread-safe through the clipboard's own lock.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace plugin {

// The "HTML Format" text for `html`: StartHTML is the offset of "<html>", EndHTML the
// length of the text, StartFragment the offset just after "<!--StartFragment-->" and
// EndFragment the offset of "<!--EndFragment-->", all as 8-digit decimal byte offsets.
std::string htmlClipboardText(std::string_view html);

// False when there is no HTML or the clipboard cannot be opened.
bool copyHtmlToClipboard(const std::string* html, const std::string* plainText);

}  // namespace plugin
