#include "addon/dialogs/option_dialog.h"

#include <algorithm>

#include "addon/commands/page_styles.h"
#include "addon/dialogs/choice_lists.h"
#include "addon/dialogs/dialog_templates.h"
#include "addon/shell/data_folders.h"
#include "addon/shell/localization.h"
#include "common/language/language_table.h"

namespace addon {

namespace ui = platform::ui;

OptionDialog::OptionDialog()
    : OptionDialog(resolveDataFolder(L"languages"), resolveDataFolder(L"resources") + L"/toolbar") {
}

OptionDialog::OptionDialog(std::wstring languagesFolder, std::wstring themesFolder)
    : AddonDialog(optionsTemplate(), L"Dialog::Options"),
      languagesFolder_(std::move(languagesFolder)),
      themesFolder_(std::move(themesFolder)) {}

void OptionDialog::onStart() {
    given_ = {autoUpdate, language, grabStyle, theme};
    const common::LanguageTable& table = common::languageTable();
    language = table.name().empty() || table.fromLocale() ? kDefault : table.name();
    fillControls();
}

void OptionDialog::fillControls() {
    std::vector<std::wstring> languages{kDefault};
    for (const std::wstring& name : listLanguageFiles(languagesFolder_)) {
        languages.push_back(name);
    }
    fillList(kLanguageCombo, languages, language.empty() ? kDefault : language);

    std::vector<std::wstring> styles = listPageStyleNames();
    styles.insert(styles.end(), {kSeparator, kNone});
    fillList(kGrabStyleCombo, styles, grabStyle.empty() ? kNone : grabStyle);

    std::vector<std::wstring> themes{kDefault};
    for (const std::wstring& name : toolbarThemeNames(themesFolder_)) {
        themes.push_back(name);
    }
    themes.insert(themes.end(), {kSeparator, kNone});
    fillList(kThemeCombo, themes, theme);

    setCheckState(kAutoUpdateCheck, autoUpdate ? 1 : 0);
}

void OptionDialog::fillList(int id, const std::vector<std::wstring>& names,
                            const std::wstring& current) {
    clearRows(id);
    for (const std::wstring& name : names) {
        addRow(id, translated(name));
    }
    const auto found = std::find(names.begin(), names.end(), current);
    setSelection(id, found == names.end() ? -1 : static_cast<int>(found - names.begin()));
    rowNames_[id] = names;
}

std::wstring OptionDialog::chosen(int id, const std::wstring& former) const {
    const auto rows = rowNames_.find(id);
    const int row = selection(id);
    if (rows == rowNames_.end() || row < 0 || row >= static_cast<int>(rows->second.size())) {
        return former;
    }
    const std::wstring& name = rows->second[row];
    return name == kSeparator ? former : name;
}

void OptionDialog::onCommand(int id, ui::UINT code) {
    if (code != ui::BN_CLICKED) {
        return;
    }
    if (id == kResetButton) {
        language = kDefault;
        grabStyle = L"Novel";
        theme = L"Orange";
        fillControls();
    } else if (id == ui::IDOK) {
        autoUpdate = isChecked(kAutoUpdateCheck);
        language = chosen(kLanguageCombo, language);
        grabStyle = chosen(kGrabStyleCombo, grabStyle);
        theme = chosen(kThemeCombo, theme);
        if (language == kDefault) {
            language.clear();
        }
        if (grabStyle == kNone) {
            grabStyle.clear();
        }
        endDialog(ui::IDOK);
    } else if (id == ui::IDCANCEL) {
        autoUpdate = given_.autoUpdate;
        language = given_.language;
        grabStyle = given_.grabStyle;
        theme = given_.theme;
        endDialog(ui::IDCANCEL);
    }
}

}  // namespace addon
