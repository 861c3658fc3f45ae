// SyncDialog: the synchronisation settings — the service's address, the account key and
// automatic synchronisation — with "Auto Detect", which fetches the key of the account the
// user is signed in with at the service, or offers to open the service's sign-in page.
//
// Contract: one modal run on the user-interface thread. Opening reads Sync\Server,
// Sync\Key and Sync\Auto into the members and the controls; OK stores the controls'
// values in the members and the registry; Cancel stores nothing. Auto Detect blocks the
// thread for at most the account request's time limit.
#pragma once

#include <string>

#include "plugin/dialogs/plugin_dialog.h"

namespace plugin {

inline constexpr int kSyncDialogId = 238;
inline constexpr int kSyncServerEdit = 249;
inline constexpr int kSyncKeyEdit = 250;
inline constexpr int kSyncAutoCheck = 251;
inline constexpr int kSyncDetectButton = 252;

platform::ui::DialogTemplate syncTemplate();

class SyncDialog : public PluginDialog {
  public:
    SyncDialog();

    std::wstring server;
    std::wstring key;
    int autoSync = 0;

    // The Auto Detect action: 0 the key was read, -1 no server given, -3 no account found
    // (the person was asked whether to sign in).
    int detectAccount();

  protected:
    void onStart() override;
    void onCommand(int id, platform::ui::UINT code) override;

  private:
    void showMembers();
};

}  // namespace plugin
