// The presenter of the window a person uses: every question of the program is shown as GTK
// shows it and answered by the person. Message boxes are modal GTK windows with the
// caption, the text and the buttons their flags ask for (the default button focused);
// popup menus (context menus, the Highlight menu, the toolbox menus) are GTK popover menus
// at the point asked for, with submenus, separators, ticks and disabled items; the folder
// browser is a GTK folder chooser; a stand-in dialog is shown as a GTK window of its
// controls (dialog_view.h); a file or address is opened with the desktop's program for it.
//
// Contract: callable from any thread (a question from another thread is shown on the GTK
// thread, bound with bindGtkThread before use, and its asker waits for the answer). Each
// question waits until the person answers it. Points are in the stand-in's screen
// coordinates, which are those of the anchor widget (the browser window's frame area).
#pragma once

#include <gtk/gtk.h>

#include "platform/ui/presenter.h"

namespace platform::ui::gtk {

class GtkPresenter : public Presenter {
  public:
    // `anchor`: the widget menus point into; its window owns the dialogs. It must outlive
    // the presenter's questions. Without one, dialogs and boxes have no owner window and
    // menus are dismissed at once.
    explicit GtkPresenter(GtkWidget* anchor = nullptr);
    void setAnchor(GtkWidget* anchor) { anchor_ = anchor; }

    int messageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                   UINT flags) override;
    UINT popupMenu(HWND owner, const Menu& menu, Point at) override;
    std::optional<std::wstring> browseForFolder(HWND owner, const std::wstring& title,
                                                const std::wstring& startFolder,
                                                bool withEditBox) override;
    bool shellOpen(HWND owner, const std::wstring& verb, const std::wstring& target,
                   const std::wstring& parameters) override;
    void runModal(DialogDriver& driver) override;

  private:
    GtkWindow* ownerWindow() const;

    GtkWidget* anchor_;
};

}  // namespace platform::ui::gtk
