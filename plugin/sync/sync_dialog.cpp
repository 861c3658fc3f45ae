#include "plugin/sync/sync_dialog.h"

#include "platform/ui/presenter.h"
#include "plugin/sync/account_info.h"
#include "plugin/sync/sync_settings.h"
#include "plugin/util/message_boxes.h"

namespace plugin {

namespace ui = platform::ui;

ui::DialogTemplate syncTemplate() {
    using ui::ControlKind;
    return {kSyncDialogId,
            L"Synchronize",
            226,
            142,
            {
                {.kind = ControlKind::staticText, .text = L"Server:", .bounds = {7, 9, 45, 17}},
                {.id = kSyncServerEdit, .kind = ControlKind::edit, .bounds = {48, 7, 219, 21}},
                {.kind = ControlKind::staticText, .text = L"Key:", .bounds = {7, 30, 45, 38}},
                {.id = kSyncKeyEdit, .kind = ControlKind::edit, .bounds = {48, 28, 219, 42}},
                {.id = kSyncAutoCheck,
                 .kind = ControlKind::checkBox,
                 .text = L"Auto Synchronize",
                 .bounds = {48, 50, 160, 60}},
                {.id = kSyncDetectButton,
                 .kind = ControlKind::pushButton,
                 .text = L"Auto Detect",
                 .bounds = {7, 121, 70, 135}},
                {.id = ui::IDOK,
                 .kind = ControlKind::pushButton,
                 .text = L"OK",
                 .bounds = {115, 121, 165, 135},
                 .defaultButton = true},
                {.id = ui::IDCANCEL,
                 .kind = ControlKind::pushButton,
                 .text = L"Cancel",
                 .bounds = {169, 121, 219, 135}},
            }};
}

SyncDialog::SyncDialog() : PluginDialog(syncTemplate(), L"Sync") {}

void SyncDialog::onStart() {
    const SyncSettings settings = readSyncSettings();
    server = settings.server;
    key = settings.key;
    autoSync = settings.autoSync != 0 ? 1 : 0;
    showMembers();
}

void SyncDialog::showMembers() {
    setItemText(kSyncServerEdit, server);
    setItemText(kSyncKeyEdit, key);
    setCheckState(kSyncAutoCheck, autoSync);
}

void SyncDialog::onCommand(int id, ui::UINT code) {
    if (code == ui::BN_CLICKED && id == kSyncDetectButton) {
        detectAccount();
        return;
    }
    if (code == ui::BN_CLICKED && id == ui::IDOK) {
        server = itemText(kSyncServerEdit);
        key = itemText(kSyncKeyEdit);
        autoSync = isChecked(kSyncAutoCheck) ? 1 : 0;
        storeSyncServer(server);
        storeSyncKey(key);
        storeSyncAuto(autoSync);
        endDialog(ui::IDOK);
        return;
    }
    PluginDialog::onCommand(id, code);
}

int SyncDialog::detectAccount() {
    // The address the person sees is the one asked, and it stays in the field.
    server = itemText(kSyncServerEdit);
    autoSync = isChecked(kSyncAutoCheck) ? 1 : 0;
    if (server.empty()) {
        errorBox(L"Server settings error", {}, handle());
        return -1;
    }
    const std::wstring base = withTrailingSlash(server);
    if (const std::optional<AccountInfo> account = fetchAccountInfo(base)) {
        key = account->key;
        showMembers();
        return 0;
    }
    if (showMessage(handle(), L"Can't detect account automaticlly. Sign in now?", {},
                    ui::MB_YESNO) == ui::IDYES)
        ui::shellOpen(handle(), L"open", base + L"my/info");
    return -3;
}

}  // namespace plugin
