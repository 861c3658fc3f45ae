// Recorded writes of element values: every change a command makes goes through
// `recordedWrite`, which remembers the element and the attribute it touches (the "style"
// attribute for a style property) with its old text (or that it did not exist) in the
// context, and `undoRecordedWrites` puts them back newest first, with the style sheets a
// command switched off, so the page's markup returns byte for byte to what it was.
//
// Contract: the page's user-interface thread only. A null element is skipped. Writing the
// empty string or "undefined" to a style property removes it.
#pragma once

#include <string>

#include "addon/commands/command.h"

namespace addon {

void recordedWrite(ICommandContext& context, const ElementPtr& element, const std::wstring& name,
                   const std::wstring& value, int flags);
// Saves the value without changing it (for a write that may not follow).
void recordValue(ICommandContext& context, const ElementPtr& element, const std::wstring& name,
                 int flags);
void undoRecordedWrites(ICommandContext& context);

}  // namespace addon
