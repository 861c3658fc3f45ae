#include "lorvane/setting_dialog.h"

#include <algorithm>
#include <filesystem>

#include "common/language/language_table.h"
#include "platform/text/utf.h"
#include "platform/ui/window_system.h"
#include "tarn/engine/plugin_manifest.h"

namespace lorvane {

using platform::ui::ControlKind;
using platform::ui::ControlTemplate;
using platform::ui::DialogTemplate;
using platform::ui::ListRow;

namespace {

// The mask colour that the icons' transparent parts carry.
constexpr platform::ui::COLORREF kIconMask = 0xFEFFFF;

DialogTemplate settingTemplate() {
    return DialogTemplate{
        IDD_LORVANE_SETTING,
        L"Lorvane Setting",
        231,
        124,
        {
            ControlTemplate{IDC_PAGE_LIST, ControlKind::listView, L"", {7, 7, 165, 117}},
            ControlTemplate{IDC_UP, ControlKind::pushButton, L"Up", {174, 7, 224, 21}},
            ControlTemplate{IDC_DOWN, ControlKind::pushButton, L"Down", {174, 25, 224, 39}},
            ControlTemplate{IDC_RESET, ControlKind::pushButton, L"Reset", {174, 43, 224, 57}},
            ControlTemplate{platform::ui::IDOK,
                            ControlKind::pushButton,
                            L"OK",
                            {174, 85, 224, 99},
                            false,
                            false,
                            true},
            ControlTemplate{
                platform::ui::IDCANCEL, ControlKind::pushButton, L"Cancel", {174, 103, 224, 117}},
        }};
}

}  // namespace

std::vector<SidePageChoice> installedSidePages(const std::wstring& pluginsFolder) {
    std::vector<tarn::PluginManifest> manifests;
    tarn::ScanPluginFolder(pluginsFolder, manifests);
    std::vector<SidePageChoice> choices;
    for (const auto& manifest : manifests)
        for (const auto& page : manifest.sidePages) {
            if (std::any_of(choices.begin(), choices.end(),
                            [&](const auto& choice) { return choice.name == page.name; }))
                continue;
            const std::filesystem::path file(platform::text::toUtf8(page.file));
            const std::filesystem::path icon = file.parent_path() / (file.stem().string() + ".ico");
            choices.push_back({page.name, page.title, platform::text::fromUtf8(icon.string())});
        }
    return choices;
}

platform::imaging::Bitmap sidePageIcon(const std::wstring& iconFile,
                                       const std::wstring& pluginsFolder, int size) {
    platform::imaging::Bitmap icon = loadIconFile(platform::text::toUtf8(iconFile), size);
    if (icon.empty())
        icon = loadIconFile(platform::text::toUtf8(pluginsFolder) + "/default.ico", size);
    if (icon.empty()) {
        icon = platform::imaging::Bitmap(size, size, platform::imaging::PixelFormat::Argb32);
        icon.fill(0);
    }
    return icon;
}

LorvaneSettingDialog::LorvaneSettingDialog(std::vector<std::wstring>& names,
                                           std::wstring pluginsFolder)
    : Dialog(settingTemplate()), names_(names), pluginsFolder_(std::move(pluginsFolder)) {}

void LorvaneSettingDialog::onInit() {
    platform::ui::centerWindow(handle());
    common::languageTable().localizeDialog(handle(), L"Dialog::LorvaneSetting");
    choices_ = installedSidePages(pluginsFolder_);
    std::vector<std::wstring> remaining;
    for (const auto& choice : choices_)
        remaining.push_back(choice.name);
    display_.clear();
    for (const auto& name : names_) {
        const auto found = std::find(remaining.begin(), remaining.end(), name);
        if (found == remaining.end())
            continue;
        display_.push_back(name);
        remaining.erase(found);
    }
    display_.insert(display_.end(), remaining.begin(), remaining.end());
    for (const auto& name : display_) {
        const auto choice = std::find_if(choices_.begin(), choices_.end(),
                                         [&](const auto& each) { return each.name == name; });
        images_.addMasked(sidePageIcon(choice->iconFile, pluginsFolder_, 16), kIconMask);
    }
    setColumns(IDC_PAGE_LIST, {L"Title"});
    fill();
}

void LorvaneSettingDialog::fill() {
    clearRows(IDC_PAGE_LIST);
    for (std::size_t i = 0; i < display_.size(); ++i) {
        const auto choice = std::find_if(choices_.begin(), choices_.end(), [&](const auto& each) {
            return each.name == display_[i];
        });
        ListRow row;
        row.texts = {choice->title};
        row.image = static_cast<int>(i);
        row.data = static_cast<std::intptr_t>(i);
        row.checked = std::find(names_.begin(), names_.end(), display_[i]) != names_.end();
        insertRow(IDC_PAGE_LIST, static_cast<int>(i), row);
    }
    setSelection(IDC_PAGE_LIST, display_.empty() ? -1 : 0);
    if (!display_.empty())
        setFocusItem(IDC_PAGE_LIST);
    updateButtons();
}

void LorvaneSettingDialog::move(int by) {
    const int selected = selection(IDC_PAGE_LIST);
    const int target = selected + by;
    if (selected < 0 || target < 0 || target >= rowCount(IDC_PAGE_LIST))
        return;
    const ListRow row = rows(IDC_PAGE_LIST)[static_cast<std::size_t>(selected)];
    deleteRow(IDC_PAGE_LIST, selected);
    insertRow(IDC_PAGE_LIST, target, row);
    setSelection(IDC_PAGE_LIST, target);
    setFocusItem(IDC_PAGE_LIST);
    updateButtons();
}

void LorvaneSettingDialog::updateButtons() {
    const int selected = selection(IDC_PAGE_LIST);
    enableItem(IDC_UP, selected > 0);
    enableItem(IDC_DOWN, selected >= 0 && selected < rowCount(IDC_PAGE_LIST) - 1);
}

void LorvaneSettingDialog::onCommand(int id, platform::ui::UINT code) {
    if (code == platform::ui::BN_CLICKED && id == IDC_UP)
        move(-1);
    else if (code == platform::ui::BN_CLICKED && id == IDC_DOWN)
        move(1);
    else if (code == platform::ui::BN_CLICKED && id == IDC_RESET)
        fill();
    else if (code == platform::ui::BN_CLICKED && id == platform::ui::IDOK) {
        names_.clear();
        for (const auto& row : rows(IDC_PAGE_LIST))
            if (row.checked && row.data >= 0 &&
                static_cast<std::size_t>(row.data) < display_.size())
                names_.push_back(display_[static_cast<std::size_t>(row.data)]);
        endDialog(platform::ui::IDOK);
    } else {
        Dialog::onCommand(id, code);
    }
}

void LorvaneSettingDialog::onNotify(int id, int code) {
    if (id == IDC_PAGE_LIST && code == platform::ui::LVN_ITEMCHANGED)
        updateButtons();
}

}  // namespace lorvane
