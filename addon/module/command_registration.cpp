#include "addon/module/command_registration.h"

#include "addon/bar/lorvane_commands.h"
#include "addon/bar/toolbox_registration.h"
#include "addon/dialogs/dialog_commands.h"
#include "addon/export/export_commands.h"
#include "addon/export/print_commands.h"
#include "addon/mailnote/mailnote_commands.h"

namespace addon {

void registerAddonCommands() {
    registerMailNoteCommands();
    registerExportCommands();
    registerPrintCommands();
    registerDialogCommands();
    registerLorvaneCommands();
    registerToolboxView();
}

}  // namespace addon
