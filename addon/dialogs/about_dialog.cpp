#include "addon/dialogs/about_dialog.h"

#include "addon/dialogs/dialog_templates.h"
#include "addon/shell/module_version.h"

namespace addon {

namespace ui = platform::ui;

namespace {

constexpr std::size_t kTextLimit = 1024;

void replaceEvery(std::wstring& text, const std::wstring& placeholder, const std::wstring& value) {
    for (std::size_t at = text.find(placeholder); at != std::wstring::npos;
         at = text.find(placeholder, at + value.size())) {
        text.replace(at, placeholder.size(), value);
    }
}

}  // namespace

std::optional<VersionValues> readAddonVersion() {
    CModuleVersion version;
    if (!version.Load(thisModuleVersionName().c_str())) {
        return std::nullopt;
    }
    return VersionValues{version.GetValue(L"ProductName"), version.GetValue(L"ProductVersion"),
                         version.GetValue(L"LegalCopyright")};
}

AboutDialog::AboutDialog(std::optional<VersionValues> version)
    : AddonDialog(aboutTemplate(), L"Dialog::About"), version_(std::move(version)) {}

void AboutDialog::onStart() {
    if (!version_) {
        return;
    }
    std::wstring text = itemText(kAboutText).substr(0, kTextLimit - 1);
    replaceEvery(text, L"#ProductName#", version_->productName);
    replaceEvery(text, L"#ProductVersion#", version_->productVersion);
    replaceEvery(text, L"#LegalCopyright#", version_->legalCopyright);
    setItemText(kAboutText, text);
}

void AboutDialog::onCommand(int id, ui::UINT code) {
    if (code == ui::BN_CLICKED &&
        (id == ui::IDOK || id == ui::IDCANCEL || id == kCheckForUpdates)) {
        endDialog(id);
    }
}

void AboutDialog::onNotify(int id, int code) {
    if (id == kAboutHomeLink && (code == ui::NM_CLICK || code == ui::NM_RETURN)) {
        endDialog(kAboutHomeLink);
    }
}

}  // namespace addon
