#include "platform/ui/gtk/menu_view.h"

#include <string>

#include "platform/ui/gtk/mnemonic.h"
#include "platform/ui/gtk/modal_loop.h"

namespace platform::ui::gtk {

namespace {

struct Choice {
    UINT chosen = 0;
    bool closed = false;
};

// Adds the menu's items to `model`, one section per run between separators, with an
// action in `actions` for each item that can be chosen.
void addItems(const Menu& menu, GMenu* model, GSimpleActionGroup* actions, Choice& choice,
              int& counter) {
    GMenu* section = g_menu_new();
    const auto flush = [&] {
        if (g_menu_model_get_n_items(G_MENU_MODEL(section)) > 0) {
            g_menu_append_section(model, nullptr, G_MENU_MODEL(section));
        }
        g_object_unref(section);
        section = g_menu_new();
    };
    for (const MenuItem& item : menu.items()) {
        if (item.separator) {
            flush();
            continue;
        }
        const std::string label = mnemonicLabel(item.text);
        if (item.submenu) {
            GMenu* inner = g_menu_new();
            addItems(*item.submenu, inner, actions, choice, counter);
            g_menu_append_submenu(section, label.c_str(), G_MENU_MODEL(inner));
            g_object_unref(inner);
            continue;
        }
        const std::string name = "item" + std::to_string(counter++);
        GSimpleAction* action =
            item.checked
                ? g_simple_action_new_stateful(name.c_str(), nullptr, g_variant_new_boolean(TRUE))
                : g_simple_action_new(name.c_str(), nullptr);
        g_simple_action_set_enabled(action, item.selectable());
        g_object_set_data(G_OBJECT(action), "command", GUINT_TO_POINTER(item.id));
        g_signal_connect(
            action, "activate", G_CALLBACK(+[](GSimpleAction* activated, GVariant*, gpointer data) {
                static_cast<Choice*>(data)->chosen =
                    GPOINTER_TO_UINT(g_object_get_data(G_OBJECT(activated), "command"));
            }),
            &choice);
        g_action_map_add_action(G_ACTION_MAP(actions), G_ACTION(action));
        g_object_unref(action);
        g_menu_append(section, label.c_str(), ("popup." + name).c_str());
    }
    flush();
    g_object_unref(section);
}

}  // namespace

UINT showPopupMenu(GtkWidget* anchor, const Menu& menu, Point at) {
    Choice choice;
    GMenu* model = g_menu_new();
    GSimpleActionGroup* actions = g_simple_action_group_new();
    int counter = 0;
    addItems(menu, model, actions, choice, counter);
    gtk_widget_insert_action_group(anchor, "popup", G_ACTION_GROUP(actions));

    GtkWidget* popover = gtk_popover_menu_new_from_model(G_MENU_MODEL(model));
    gtk_widget_set_parent(popover, anchor);
    gtk_popover_set_has_arrow(GTK_POPOVER(popover), FALSE);
    gtk_widget_set_halign(popover, GTK_ALIGN_START);
    const GdkRectangle place{at.x, at.y, 1, 1};
    gtk_popover_set_pointing_to(GTK_POPOVER(popover), &place);
    gtk_popover_set_position(GTK_POPOVER(popover), GTK_POS_BOTTOM);
    g_signal_connect(popover, "closed", G_CALLBACK(+[](GtkPopover*, gpointer data) {
                         static_cast<Choice*>(data)->closed = true;
                     }),
                     &choice);
    gtk_popover_popup(GTK_POPOVER(popover));
    runUntil([&] { return choice.closed; });
    // The chosen item's action may run just after the menu closed.
    for (int turn = 0; turn < 3 && !choice.chosen; ++turn) {
        g_main_context_iteration(nullptr, FALSE);
    }
    gtk_widget_unparent(popover);
    gtk_widget_insert_action_group(anchor, "popup", nullptr);
    g_object_unref(actions);
    g_object_unref(model);
    return choice.chosen;
}

}  // namespace platform::ui::gtk
