// The base of the add-on's dialogs: when a dialog opens it centres itself on its owner and
// translates its texts with its language section ("Dialog::About", ...).
// Threading: user-interface thread only.
#pragma once

#include <string>

#include "platform/ui/dialog.h"

namespace addon {

class AddonDialog : public platform::ui::Dialog {
  public:
    AddonDialog(platform::ui::DialogTemplate definition, std::wstring languageSection);

    const std::wstring& languageSection() const { return section_; }

  protected:
    void onInit() override;
    // Runs after centring and translation.
    virtual void onStart() {}
    // The text translated in this dialog's section.
    std::wstring translated(const std::wstring& text) const;

  private:
    std::wstring section_;
};

}  // namespace addon
