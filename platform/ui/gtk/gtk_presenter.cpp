#include "platform/ui/gtk/gtk_presenter.h"

#include "platform/text/utf.h"
#include "platform/ui/gtk/dialog_view.h"
#include "platform/ui/gtk/menu_view.h"
#include "platform/ui/gtk/message_box_view.h"
#include "platform/ui/gtk/modal_loop.h"

namespace platform::ui::gtk {

GtkPresenter::GtkPresenter(GtkWidget* anchor) : anchor_(anchor) {
    bindGtkThread();
}

GtkWindow* GtkPresenter::ownerWindow() const {
    GtkRoot* root = anchor_ ? gtk_widget_get_root(anchor_) : nullptr;
    return root && GTK_IS_WINDOW(root) ? GTK_WINDOW(root) : nullptr;
}

int GtkPresenter::messageBox(HWND, const std::wstring& text, const std::wstring& caption,
                             UINT flags) {
    int answer = 0;
    onGtkThread([&] { answer = showMessageBox(ownerWindow(), text, caption, flags); });
    return answer;
}

UINT GtkPresenter::popupMenu(HWND, const Menu& menu, Point at) {
    UINT chosen = 0;
    onGtkThread([&] { chosen = anchor_ ? showPopupMenu(anchor_, menu, at) : 0; });
    return chosen;
}

std::optional<std::wstring> GtkPresenter::browseForFolder(HWND, const std::wstring& title,
                                                          const std::wstring& startFolder, bool) {
    std::optional<std::wstring> folder;
    onGtkThread([&] {
        struct Reply {
            int response = 0;
        } reply;
        GtkWidget* chooser = gtk_file_chooser_dialog_new(
            text::toUtf8(title).c_str(), ownerWindow(), GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER,
            "_Cancel", GTK_RESPONSE_CANCEL, "_Select", GTK_RESPONSE_ACCEPT, nullptr);
        gtk_window_set_modal(GTK_WINDOW(chooser), TRUE);
        if (!startFolder.empty()) {
            GFile* start = g_file_new_for_path(text::toUtf8(startFolder).c_str());
            gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(chooser), start, nullptr);
            g_object_unref(start);
        }
        g_signal_connect(chooser, "response",
                         G_CALLBACK(+[](GtkDialog*, int response, gpointer data) {
                             static_cast<Reply*>(data)->response = response;
                         }),
                         &reply);
        gtk_window_present(GTK_WINDOW(chooser));
        runUntil([&] { return reply.response != 0; });
        if (reply.response == GTK_RESPONSE_ACCEPT) {
            if (GFile* chosen = gtk_file_chooser_get_file(GTK_FILE_CHOOSER(chooser))) {
                if (char* path = g_file_get_path(chosen)) {
                    folder = text::fromUtf8(path);
                    g_free(path);
                }
                g_object_unref(chosen);
            }
        }
        gtk_window_destroy(GTK_WINDOW(chooser));
    });
    return folder;
}

bool GtkPresenter::shellOpen(HWND, const std::wstring&, const std::wstring& target,
                             const std::wstring&) {
    const std::string address = text::toUtf8(target);
    gchar* uri = address.find("://") != std::string::npos || address.starts_with("mailto:")
                     ? g_strdup(address.c_str())
                     : g_filename_to_uri(address.c_str(), nullptr, nullptr);
    if (!uri) {
        return false;
    }
    GError* error = nullptr;
    const bool opened = g_app_info_launch_default_for_uri(uri, nullptr, &error);
    if (error) {
        g_error_free(error);
    }
    g_free(uri);
    return opened;
}

void GtkPresenter::runModal(DialogDriver& driver) {
    onGtkThread([&] {
        DialogView view(driver, ownerWindow());
        view.run();
    });
}

}  // namespace platform::ui::gtk
