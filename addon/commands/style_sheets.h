// The style sheets of a page ("style" elements and linked sheets, in document order) as
// the commands switch them off: each sheet's former disabled flag is recorded in the
// context, so undoing puts every sheet back as it was. The flag lives on the sheet, not in
// the markup, so the page's markup is the same before and after.
//
// Contract: the page's user-interface thread only. A context without a document changes
// nothing.
#pragma once

#include "addon/commands/command.h"

namespace addon {

// Disables every style sheet of the page, recording each one's former state.
void disableStyleSheets(ICommandContext& context);
// Gives every recorded sheet its former state back, newest first.
void restoreStyleSheets(ICommandContext& context);

}  // namespace addon
