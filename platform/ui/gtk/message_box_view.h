// A message box as a modal GTK window: the caption as its title, the text, and the buttons
// of its flags (OK; OK, Cancel; Abort, Retry, Ignore; Yes, No, Cancel; Yes, No; Retry,
// Cancel), the default one focused. Closing the window answers Cancel where the box has
// it, OK where OK is its only button; a box with neither cannot be closed but by a button.
//
// Contract: the GTK thread; returns the button chosen (IDOK, IDYES, ...).
#pragma once

#include <gtk/gtk.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/ui/types.h"

namespace platform::ui::gtk {

// The buttons of a box with these flags, left to right: label and result.
std::vector<std::pair<std::string, int>> messageBoxButtons(UINT flags);
// What closing the box answers; 0 when it cannot be closed.
int messageBoxCloseAnswer(UINT flags);

int showMessageBox(GtkWindow* parent, const std::wstring& text, const std::wstring& caption,
                   UINT flags);

}  // namespace platform::ui::gtk
