#include "lorvane/program/screen_presenter.h"

#include <gtk/gtk.h>

#include "platform/ui/gtk/gtk_presenter.h"
#include "platform/ui/gtk/modal_loop.h"
#include "platform/ui/window_system.h"

namespace lorvane {

namespace {

namespace ui = platform::ui;

constexpr guint kPumpMs = 10;

struct Pump {
    std::function<bool()> stillShown;
    gint64 lastCheck = 0;
};

// Handles the stand-in's messages while GTK waits for a person; once the pane is no longer
// shown, every open question is cancelled.
gboolean pump(gpointer data) {
    auto* state = static_cast<Pump*>(data);
    ui::windows().pumpMessages();
    const gint64 now = g_get_monotonic_time();
    if (now - state->lastCheck >= ScreenPresenter::kShownCheck.count() * 1000) {
        state->lastCheck = now;
        if (state->stillShown && !state->stillShown())
            ui::gtk::leaveModalLoops();
    }
    return G_SOURCE_CONTINUE;
}

}  // namespace

ScreenPresenter::ScreenPresenter(std::function<bool()> stillShown)
    : stillShown_(std::move(stillShown)) {}

ScreenPresenter::~ScreenPresenter() {
    if (pumpSource_)
        g_source_remove(pumpSource_);
}

ui::Presenter& ScreenPresenter::current() {
    if (!tried_) {
        tried_ = true;
        if (gtk_init_check()) {
            shown_ = std::make_shared<ui::gtk::GtkPresenter>();
            pumpSource_ =
                g_timeout_add_full(G_PRIORITY_DEFAULT, kPumpMs, &pump, new Pump{stillShown_, 0},
                                   [](gpointer data) { delete static_cast<Pump*>(data); });
        }
    }
    return shown_ ? *shown_ : static_cast<ui::Presenter&>(defaults_);
}

int ScreenPresenter::messageBox(ui::HWND owner, const std::wstring& text,
                                const std::wstring& caption, ui::UINT flags) {
    return current().messageBox(owner, text, caption, flags);
}

ui::UINT ScreenPresenter::popupMenu(ui::HWND owner, const ui::Menu& menu, ui::Point at) {
    // A menu is placed by the window that shows the pane; none of this program's own.
    return defaults_.popupMenu(owner, menu, at);
}

std::optional<std::wstring> ScreenPresenter::browseForFolder(ui::HWND owner,
                                                             const std::wstring& title,
                                                             const std::wstring& startFolder,
                                                             bool withEditBox) {
    return current().browseForFolder(owner, title, startFolder, withEditBox);
}

bool ScreenPresenter::shellOpen(ui::HWND owner, const std::wstring& verb,
                                const std::wstring& target, const std::wstring& parameters) {
    return current().shellOpen(owner, verb, target, parameters);
}

void ScreenPresenter::runModal(ui::DialogDriver& driver) {
    current().runModal(driver);
}

}  // namespace lorvane
