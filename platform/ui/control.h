// The state a control window carries beside its text: its kind, check state, list rows,
// selection and progress position. Plain values, kept by the window system per window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform::ui {

enum class ControlKind {
    none,          // an ordinary window, not a control
    staticText,    // label
    groupBox,      // frame around other controls
    pushButton,    // button that only reports clicks
    checkBox,      // toggles on each click
    radioButton,   // checks itself and clears the other radios of its group on a click
    edit,          // single-line text entry
    comboBox,      // editable drop-down: typed text or a chosen row
    dropDownList,  // drop-down whose text is always one of its rows
    listBox,       // list of rows, single selection
    listView,      // report list: rows of column texts, optional check boxes per row
    progressBar,   // range and position
};

// One row of a list box, combo box or list view. List boxes and combo boxes use the first
// text only; a list view has one text per column.
struct ListRow {
    std::vector<std::wstring> texts;
    bool checked = false;
    std::intptr_t data = 0;
    int image = -1;

    const std::wstring& text() const;
};

struct ControlState {
    ControlKind kind = ControlKind::none;
    int check = 0;  // 0 clear, 1 checked, 2 indeterminate
    bool defaultButton = false;
    bool groupStart = false;  // a radio button that starts a new group
    std::vector<ListRow> rows;
    std::vector<std::wstring> columns;  // list-view column titles
    int selection = -1;                 // selected row, -1 for none
    int rangeMin = 0;
    int rangeMax = 100;
    int position = 0;
};

}  // namespace platform::ui
