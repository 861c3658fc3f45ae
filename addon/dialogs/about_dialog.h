// The About dialog: the product's name, version and copyright in place of the
// placeholders "#ProductName#", "#ProductVersion#" and "#LegalCopyright#" of its text.
// doModal gives 1 (OK), 2 (closed), kCheckForUpdates (204: check for updates now) or
// kAboutHomeLink (208: the home-page link was clicked or entered).
//
// Contract: user-interface thread only. Without version values (the version resource could
// not be read) the placeholders stay.
#pragma once

#include <optional>
#include <string>

#include "addon/dialogs/addon_dialog.h"

namespace addon {

struct VersionValues {
    std::wstring productName;
    std::wstring productVersion;
    std::wstring legalCopyright;
};

// The values of the add-on module's own version resource; none when it cannot be read.
std::optional<VersionValues> readAddonVersion();

class AboutDialog : public AddonDialog {
  public:
    explicit AboutDialog(std::optional<VersionValues> version);

  protected:
    void onStart() override;
    void onCommand(int id, platform::ui::UINT code) override;
    void onNotify(int id, int code) override;

  private:
    std::optional<VersionValues> version_;
};

}  // namespace addon
