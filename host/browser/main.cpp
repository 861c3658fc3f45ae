// tamrix-browser: the browser stand-in shown to a person. Opens one window with one tab,
// shows the page given (a file or an http(s) address) and runs until the window is closed
// or the program is interrupted (Ctrl+C, SIGTERM); either way the add-on detaches and the
// tab closes cleanly.
//
//   tamrix-browser [FILE-OR-URL]
//
// Exit status: 0 after a clean end, 1 when no display can be opened, 2 for a usage error.
#include <glib-unix.h>
#include <gtk/gtk.h>

#include <clocale>
#include <iostream>
#include <memory>
#include <string>

#include "addon/bar/pane_windows.h"
#include "addon/module/command_registration.h"
#include "addon/shell/startup/addon_startup.h"
#include "host/browser/browser_window.h"
#include "host/browser/pane_questions.h"
#include "platform/dom/resources/page_resources.h"
#include "platform/text/utf.h"
#include "platform/ui/gtk/gtk_presenter.h"
#include "platform/ui/gtk/modal_loop.h"

namespace {

// Ctrl+C or SIGTERM: open dialogs, boxes and menus are cancelled, then the window closes.
gboolean quitLoop(gpointer loop) {
    platform::ui::gtk::leaveModalLoops();
    g_main_loop_quit(static_cast<GMainLoop*>(loop));
    return G_SOURCE_CONTINUE;
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    if (argc > 2 ||
        (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h"))) {
        std::cerr << "usage: tamrix-browser [FILE-OR-URL]" << std::endl;
        return 2;
    }
    if (!gtk_init_check()) {
        std::cerr << "tamrix-browser: cannot open a display (is DISPLAY set?)" << std::endl;
        return 1;
    }
    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    g_unix_signal_add(SIGINT, &quitLoop, loop);
    g_unix_signal_add(SIGTERM, &quitLoop, loop);
    auto presenter = std::make_shared<platform::ui::gtk::GtkPresenter>();
    platform::ui::PresenterScope scope(presenter);
    addon::attachAddon();
    addon::registerAddonCommands();
    // The window shows each page at once and again as its pictures arrive.
    platform::dom::setPictureWait(platform::dom::PictureWait::never);
    {
        host::browser::PaneQuestions paneQuestions(addon::paneWindows());
        host::browser::BrowserWindow window([loop] { g_main_loop_quit(loop); });
        presenter->setAnchor(window.frameArea());
        if (argc == 2) {
            window.open(platform::text::fromUtf8(argv[1]));
        }
        g_main_loop_run(loop);
        presenter->setAnchor(nullptr);
    }
    addon::detachAddon();
    g_main_loop_unref(loop);
    return 0;
}
