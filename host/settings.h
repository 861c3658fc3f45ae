// The host's `set NAME VALUE`: one per-user setting of Tamrix written as the Options
// dialogs write it, under the current user's "Software\Olvan\Tamrix" key (a NAME that
// starts with "Software\" is a whole key path). A NAME is a key path and value name
// joined by "\" ("Mail\To", "Export\Device", "Sync\Server"). A value keeps the type the
// setting already has; a new one is stored as a number when it is a whole number, else as
// text.
//
// Contract: thread-safe; never throws. False, with why in `error`, when the value cannot be
// stored (a number setting given text).
#pragma once

#include <string>

namespace host {

bool storeSetting(const std::wstring& name, const std::wstring& value, std::wstring& error);

}  // namespace host
