// A dialog: a window of class "#32770" whose direct children are the controls of its
// template, each found by control id. A derived class reacts through the virtual handlers
// (init, command, notify, timer) and reads and writes its controls with the helpers.
//
// Changes made through the helpers are the program's own and fire no change notices; the
// notices (EN_CHANGE, BN_CLICKED, CBN_SELCHANGE, ...) come only from a person's actions,
// which a DialogDriver performs.
//
// doModal shows the dialog modally on the calling thread: the owner is disabled, the
// presenter plays the person (see Presenter::runModal), timers keep running while the
// dialog waits to be ended, and a dialog that nobody ends is cancelled (IDCANCEL).
// Threading: a dialog is used on the thread that created it.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/control.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/message.h"
#include "platform/ui/types.h"

namespace platform::ui {

class Dialog {
  public:
    // How long a modal dialog with running timers waits, after its script, to be ended or to
    // stop its timers.
    static constexpr std::chrono::milliseconds kModalWaitLimit{60000};

    explicit Dialog(DialogTemplate definition);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    int doModal(HWND owner = {});
    // Creates the dialog without running it (modeless); returns its window.
    HWND create(HWND owner = {});
    void destroy();

    HWND handle() const { return window_; }
    const DialogTemplate& definition() const { return definition_; }
    bool ended() const { return ended_; }
    int result() const { return result_; }
    void endDialog(int result);

    // The control window with this id; none when it does not exist.
    HWND item(int id) const;
    std::wstring caption() const;
    void setCaption(const std::wstring& text);

    std::wstring itemText(int id) const;
    void setItemText(int id, const std::wstring& text);
    bool isItemEnabled(int id) const;
    void enableItem(int id, bool enabled);
    bool isItemVisible(int id) const;
    void showItem(int id, bool visible);
    void setFocusItem(int id);
    // The control id of the focused control, 0 when the focus is elsewhere.
    int focusItem() const;

    // Check boxes and radio buttons: 0 clear, 1 checked, 2 indeterminate.
    int checkState(int id) const;
    void setCheckState(int id, int state);
    bool isChecked(int id) const { return checkState(id) == 1; }
    // Checks `id` and clears the other buttons with ids from `first` to `last`.
    void checkRadioButton(int first, int last, int id);

    // Rows of list boxes, combo boxes and list views.
    void clearRows(int id);
    int addRow(int id, const std::wstring& text);
    int insertRow(int id, int index, ListRow row);
    bool deleteRow(int id, int index);
    std::vector<ListRow> rows(int id) const;
    int rowCount(int id) const;
    std::wstring rowText(int id, int index, int column = 0) const;
    bool setRowText(int id, int index, int column, const std::wstring& text);
    // The first row from `start` + 1 on whose first text equals `text`; -1 when none.
    int findExactRow(int id, const std::wstring& text, int start = -1) const;
    int selection(int id) const;
    // Selects a row (-1: none). A combo box also shows the row's text.
    void setSelection(int id, int index);
    bool isRowChecked(int id, int index) const;
    void setRowChecked(int id, int index, bool checked);
    void setColumns(int id, std::vector<std::wstring> titles);

    void setProgressRange(int id, int minimum, int maximum);
    void setProgressPosition(int id, int position);
    int progressPosition(int id) const;

    bool setTimer(std::uintptr_t id, std::chrono::milliseconds period);
    void killTimer(std::uintptr_t id);

    // Delivers a person's action to the handlers, as the controls would.
    void notifyCommand(int id, UINT code);
    void notify(int id, int code);

  protected:
    // WM_INITDIALOG, after the controls exist.
    virtual void onInit() {}
    // WM_COMMAND; the default ends the dialog on a click of IDOK or IDCANCEL.
    virtual void onCommand(int id, UINT code);
    // WM_NOTIFY from a list view or similar control.
    virtual void onNotify(int /*id*/, int /*code*/) {}
    virtual void onTimer(std::uintptr_t /*id*/) {}
    // Any other message; the result goes back to the sender.
    virtual LRESULT onMessage(const Message& /*message*/) { return 0; }

  private:
    LRESULT handle(const Message& message);
    ControlState controlOf(int id) const;
    void changeControl(int id, const std::function<void(ControlState&)>& change);

    DialogTemplate definition_;
    HWND window_;
    bool ended_ = false;
    int result_ = 0;
};

}  // namespace platform::ui
