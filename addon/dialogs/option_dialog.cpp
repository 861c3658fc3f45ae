#include "addon/dialogs/option_dialog.h"

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
    const std::wstring loaded = common::languageTable().name();
    language = loaded.empty() ? kDefault : loaded;
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
        addRow(id, name);
    }
    setSelection(id, findExactRow(id, current));
}

std::wstring OptionDialog::chosen(int id, const std::wstring& former) const {
    const std::wstring text = itemText(id);
    return text == kSeparator ? former : text;
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
