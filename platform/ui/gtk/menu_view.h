// A stand-in menu shown as a GTK popover menu pointing at a place of a widget: items with
// their mnemonics, separators as sections, submenus, ticks for checked items, and grayed or
// disabled items that cannot be chosen.
//
// Contract: the GTK thread; returns the command id of the item chosen, 0 when the menu was
// dismissed.
#pragma once

#include <gtk/gtk.h>

#include "platform/ui/menu.h"

namespace platform::ui::gtk {

UINT showPopupMenu(GtkWidget* anchor, const Menu& menu, Point at);

}  // namespace platform::ui::gtk
