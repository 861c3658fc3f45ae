// The plug-in's message boxes: caption and text translated through the "Message" section
// of the program's language table, an empty caption shown as "Tamrix for IE", and the box
// put to the process's presenter. Callable from any thread.
#pragma once

#include <string>

#include "platform/ui/types.h"

namespace plugin {

inline constexpr const wchar_t* kProductDisplayName = L"Tamrix for IE";

// Returns the button pressed.
int showMessage(platform::ui::HWND owner, const std::wstring& text, const std::wstring& caption,
                platform::ui::UINT flags);
void errorBox(const std::wstring& text, const std::wstring& caption = {},
              platform::ui::HWND owner = {});
void infoBox(const std::wstring& text, const std::wstring& caption = {},
             platform::ui::HWND owner = {});
// IDYES, IDNO or IDCANCEL.
int askBox(const std::wstring& text, const std::wstring& caption = {},
           platform::ui::HWND owner = {});

}  // namespace plugin
