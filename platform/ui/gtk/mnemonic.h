// Texts of the stand-in's menus and controls as GTK shows them: "&" marks the mnemonic
// ("&Save" -> "_Save"), "&&" is a plain "&", a "_" of the text stays a plain "_", and what
// follows a tab (the shortcut shown at the right of a menu item) is put after a few spaces.
//
// Contract: pure function.
#pragma once

#include <string>

namespace platform::ui::gtk {

std::string mnemonicLabel(const std::wstring& text);
// The same text without any mnemonic mark ("&Save" -> "Save").
std::string plainLabel(const std::wstring& text);

}  // namespace platform::ui::gtk
