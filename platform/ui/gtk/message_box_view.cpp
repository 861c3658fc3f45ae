#include "platform/ui/gtk/message_box_view.h"

#include "platform/text/utf.h"
#include "platform/ui/gtk/modal_loop.h"
#include "platform/ui/presenter.h"

namespace platform::ui::gtk {

std::vector<std::pair<std::string, int>> messageBoxButtons(UINT flags) {
    switch (flags & MB_TYPEMASK) {
        case MB_OKCANCEL:
            return {{"_OK", IDOK}, {"_Cancel", IDCANCEL}};
        case MB_ABORTRETRYIGNORE:
            return {{"_Abort", IDABORT}, {"_Retry", IDRETRY}, {"_Ignore", IDIGNORE}};
        case MB_YESNOCANCEL:
            return {{"_Yes", IDYES}, {"_No", IDNO}, {"_Cancel", IDCANCEL}};
        case MB_YESNO:
            return {{"_Yes", IDYES}, {"_No", IDNO}};
        case MB_RETRYCANCEL:
            return {{"_Retry", IDRETRY}, {"_Cancel", IDCANCEL}};
        default:
            return {{"_OK", IDOK}};
    }
}

int messageBoxCloseAnswer(UINT flags) {
    const auto buttons = messageBoxButtons(flags);
    for (const auto& [label, id] : buttons) {
        if (id == IDCANCEL) {
            return IDCANCEL;
        }
    }
    return buttons.size() == 1 ? IDOK : 0;
}

int showMessageBox(GtkWindow* parent, const std::wstring& text, const std::wstring& caption,
                   UINT flags) {
    struct Answer {
        int button = 0;
        UINT flags = 0;
    } answer{0, flags};
    GtkWidget* window = gtk_window_new();
    gtk_window_set_title(GTK_WINDOW(window), text::toUtf8(caption).c_str());
    gtk_window_set_modal(GTK_WINDOW(window), TRUE);
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    if (parent) {
        gtk_window_set_transient_for(GTK_WINDOW(window), parent);
    }
    gtk_window_set_deletable(GTK_WINDOW(window), messageBoxCloseAnswer(flags) != 0);
    g_signal_connect(window, "close-request",
                     G_CALLBACK(+[](GtkWindow*, gpointer data) -> gboolean {
                         auto* answer = static_cast<Answer*>(data);
                         answer->button = messageBoxCloseAnswer(answer->flags);
                         return TRUE;
                     }),
                     &answer);

    GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 16);
    gtk_widget_set_margin_start(column, 18);
    gtk_widget_set_margin_end(column, 18);
    gtk_widget_set_margin_top(column, 18);
    gtk_widget_set_margin_bottom(column, 12);
    GtkWidget* message = gtk_label_new(text::toUtf8(text).c_str());
    gtk_label_set_wrap(GTK_LABEL(message), TRUE);
    gtk_label_set_max_width_chars(GTK_LABEL(message), 60);
    gtk_label_set_xalign(GTK_LABEL(message), 0);
    gtk_label_set_selectable(GTK_LABEL(message), TRUE);
    gtk_box_append(GTK_BOX(column), message);
    GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 8);
    gtk_widget_set_halign(row, GTK_ALIGN_END);
    const int chosenByDefault = defaultMessageBoxButton(flags);
    GtkWidget* focused = nullptr;
    for (const auto& [label, id] : messageBoxButtons(flags)) {
        GtkWidget* button = gtk_button_new_with_mnemonic(label.c_str());
        g_object_set_data(G_OBJECT(button), "answer", GINT_TO_POINTER(id));
        g_signal_connect(button, "clicked", G_CALLBACK(+[](GtkButton* pressed, gpointer data) {
                             static_cast<Answer*>(data)->button =
                                 GPOINTER_TO_INT(g_object_get_data(G_OBJECT(pressed), "answer"));
                         }),
                         &answer);
        gtk_box_append(GTK_BOX(row), button);
        if (id == chosenByDefault) {
            focused = button;
        }
    }
    gtk_box_append(GTK_BOX(column), row);
    gtk_window_set_child(GTK_WINDOW(window), column);
    if (focused) {
        gtk_window_set_default_widget(GTK_WINDOW(window), focused);
        gtk_window_set_focus(GTK_WINDOW(window), focused);
    }
    gtk_window_present(GTK_WINDOW(window));
    runUntil([&] { return answer.button != 0; });
    gtk_window_destroy(GTK_WINDOW(window));
    // Left unanswered because the program is ending: closed, or its default.
    if (answer.button == 0) {
        const int closing = messageBoxCloseAnswer(flags);
        return closing != 0 ? closing : chosenByDefault;
    }
    return answer.button;
}

}  // namespace platform::ui::gtk
