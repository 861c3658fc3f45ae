// Answers for the dialogs a script expects, written as a person reads the dialog: fields
// named by their labels ("Tags=travel, night"), or given in a dialog's own order, and
// buttons named by their text ("OK", "Overwrite").
//
// The words of an answer are split at each "|"; "\|" stands for a "|" inside a value and
// "\\" for a backslash. A field "NAME=VALUE" fills the control that the label NAME stands
// before (or whose own text is NAME), compared without "&" marks, a trailing ":" or "...",
// and case; a field without a name fills the next field of the dialog's order: the labels
// `positional` lists, or else the dialog's own fields top to bottom (a word that is a
// button's text then clicks the button, and a value holding "=" is given by name). How a value is
// given depends on the control: an edit takes the text, a combo box chooses the row of that text or
// else takes the text, a list chooses the row of that text, a check box takes on/off (yes/no, 1/0).
// A word that is the text of a button, check box or radio button clicks it.
//
// Contract: pure parsing; `fill` runs on the dialog's thread and throws
// platform::ui::ScriptError when a name or value does not fit the dialog (as a person
// could not have done it).
#pragma once

#include <string>
#include <vector>

#include "platform/ui/dialog_driver.h"

namespace host {

// The parts of `text` between unescaped "|", each trimmed, escapes resolved.
std::vector<std::wstring> splitFields(const std::wstring& text);

// A label or menu text as a person reads it: no "&" marks, nothing from a tab on, no
// trailing ":", "..." or spaces, lower case.
std::wstring plainLabel(const std::wstring& text);

struct DialogAnswer {
    std::vector<std::wstring> fields;
    // The labels of the fields given without a name, in order; empty: the dialog's own.
    std::vector<std::wstring> positional;

    // Fills the dialog; true when a push button was clicked.
    bool fill(platform::ui::DialogDriver& dialog) const;
};

}  // namespace host
