// The base of the repository plug-in's dialogs: when a dialog opens it centres itself on
// its owner and translates its texts with the language section "Dialog::" + its name.
// Threading: user-interface thread only.
#pragma once

#include <string>

#include "platform/ui/dialog.h"

namespace plugin {

class PluginDialog : public platform::ui::Dialog {
  public:
    PluginDialog(platform::ui::DialogTemplate definition, std::wstring name);

    // "Dialog::" + the dialog's name.
    std::wstring languageSection() const { return L"Dialog::" + name_; }

  protected:
    void onInit() override;
    // Runs after centring and translation.
    virtual void onStart() {}

  private:
    std::wstring name_;
};

}  // namespace plugin
