// Plays a person in front of an open dialog: types into edits and combo boxes, clicks
// buttons, chooses rows, ticks list-view rows and double-clicks them, each action firing
// the notices the real control would fire; and reads what the person sees. Used by test
// scripts and by the host's default answers, on the dialog's thread.
//
// Errors: an action on a control that does not exist, is hidden or disabled, or on a dialog
// that has already ended throws ScriptError (a person could not have done it).
#pragma once

#include <chrono>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/ui/dialog.h"

namespace platform::ui {

class ScriptError : public std::logic_error {
  public:
    using std::logic_error::logic_error;
};

class DialogDriver {
  public:
    explicit DialogDriver(Dialog& dialog) : dialog_(dialog) {}

    Dialog& dialog() { return dialog_; }
    int templateId() const { return dialog_.definition().id; }
    std::wstring caption() const { return dialog_.caption(); }

    // Replaces the text of an edit or editable combo box (EN_CHANGE / CBN_EDITCHANGE).
    void type(int id, const std::wstring& text);
    // Clicks a button: a check box toggles, a radio button checks itself and clears its
    // group; then BN_CLICKED.
    void click(int id);
    // Sets a check box to the wanted state, clicking only when it differs.
    void setChecked(int id, bool checked);
    // Chooses the first row with that text in a list box or combo box (LBN_SELCHANGE /
    // CBN_SELCHANGE) or list view (LVN_ITEMCHANGED).
    void choose(int id, const std::wstring& text);
    void chooseRow(int id, int row);
    // Ticks or clears the check box of a list-view row (LVN_ITEMCHANGED).
    void tickRow(int id, int row, bool checked);
    // Double-clicks a row: it is selected first, then LBN_DBLCLK or NM_DBLCLK.
    void doubleClick(int id, int row);
    // Sends a WM_NOTIFY code from the control, such as NM_CLICK or NM_RETURN.
    void notify(int id, int code);
    // Closes the dialog with its system menu (WM_CLOSE).
    void close();

    std::wstring text(int id) const { return dialog_.itemText(id); }
    bool enabled(int id) const { return dialog_.isItemEnabled(id); }
    bool visible(int id) const { return dialog_.isItemVisible(id); }
    bool checked(int id) const { return dialog_.isChecked(id); }
    std::vector<std::wstring> rowTexts(int id, int column = 0) const;
    int selection(int id) const { return dialog_.selection(id); }
    int focus() const { return dialog_.focusItem(); }
    bool ended() const { return dialog_.ended(); }
    int result() const { return dialog_.result(); }

    // Runs the thread's messages (timers) until the dialog ends or `limit` passes.
    bool waitUntilEnded(std::chrono::milliseconds limit);

  private:
    ControlState usable(int id) const;
    Dialog& dialog_;
};

}  // namespace platform::ui
