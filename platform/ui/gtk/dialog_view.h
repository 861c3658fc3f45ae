// A stand-in dialog shown as a GTK window: each control of its table becomes the GTK
// widget of its kind at its place (labels, frames, buttons, check boxes, radio buttons,
// entries, combo boxes, lists, report lists with columns and row check boxes, progress
// bars). What a person does with a widget reaches the dialog through its DialogDriver, so
// the dialog hears the notices a real control sends; what the program changes in its
// controls (texts, states, rows, selections, enabled and shown) is brought into the widgets
// as it happens. Closing the window is the dialog's system-menu close.
//
// Contract: the GTK thread, which is also the dialog's thread. `run` returns when the
// dialog has ended; the window goes with the view.
#pragma once

#include <gtk/gtk.h>

#include <map>

#include "platform/ui/dialog_driver.h"

namespace platform::ui::gtk {

class DialogView {
  public:
    DialogView(DialogDriver& driver, GtkWindow* parent);
    ~DialogView();
    DialogView(const DialogView&) = delete;
    DialogView& operator=(const DialogView&) = delete;

    void run();

  private:
    struct Shown {
        GtkWidget* widget = nullptr;  // the widget placed in the window
        GtkWidget* inner = nullptr;   // the one that holds the value (a list in its scroller)
        HWND handle;
        ControlState state;  // as last brought into the widget
        std::wstring text;
        bool fresh = true;  // nothing brought in yet
    };

    void build();
    Shown makeWidget(int id, const ControlState& state, const std::wstring& text);
    void connect(int id, Shown& shown);
    void refresh();
    void refreshControl(Shown& shown, const ControlState& state, const std::wstring& text);
    void refreshRows(Shown& shown, const ControlState& state);
    // A person's action, through the driver; a control that cannot take it (hidden,
    // disabled, gone) is left alone.
    void act(const std::function<void()>& action);
    static gboolean onRefresh(gpointer self);

    DialogDriver& driver_;
    GtkWidget* window_ = nullptr;
    GtkWidget* fixed_ = nullptr;
    std::map<int, Shown> controls_;
    int focus_ = 0;  // the control the dialog last put the focus on
    bool syncing_ = false;
    guint refreshSource_ = 0;
};

}  // namespace platform::ui::gtk
