// Recorded writes of element values: every change a command makes goes through
// `recordedWrite`, which remembers the element, the property or attribute and its old
// value (or that it did not exist) in the context, and `undoRecordedWrites` puts them back
// newest first, so the page returns exactly to what it was.
//
// Contract: the page's user-interface thread only. A null element is skipped. Attribute
// writes (kValueAttribute) are read back and restored as attributes. Writing the empty
// string or "undefined" to a style property removes it.
#pragma once

#include <string>

#include "addon/controller/command.h"

namespace addon {

// The element's own value of the property (or attribute); no value when it has none.
std::optional<std::wstring> ownValue(const page::NodePtr& element, const std::wstring& name,
                                     int flags);
void recordedWrite(ICommandContext& context, const page::NodePtr& element, const std::wstring& name,
                   const std::wstring& value, int flags);
// Saves the value without changing it (for a write that may not follow).
void recordValue(ICommandContext& context, const page::NodePtr& element, const std::wstring& name,
                 int flags);
void undoRecordedWrites(ICommandContext& context);
// Disables every style sheet of the page, recording each one's former state.
void disableStyleSheets(ICommandContext& context);

}  // namespace addon
