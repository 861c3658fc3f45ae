#include "addon/dialogs/grab_links_dialog.h"

#include <algorithm>

#include "addon/dialogs/dialog_templates.h"

namespace addon {

namespace ui = platform::ui;

namespace {

constexpr std::size_t kShortTitleAverage = 5;

// Whether the first row (the page itself) starts ticked.
bool firstRowTicked(const std::vector<common::StringPair>& links) {
    if (links.size() <= 1) {
        return true;
    }
    std::size_t total = 0;
    for (std::size_t i = 1; i < links.size(); ++i) {
        total += links[i].name.size();
    }
    return total / (links.size() - 1) > kShortTitleAverage;
}

// The link cut back after its last "/"; "" when that leaves the site's root or less
// ("http://host/" keeps three "/", the least a folder below the root has is four).
std::wstring folderOf(const std::wstring& link) {
    const std::size_t slash = link.rfind(L'/');
    if (slash == std::wstring::npos) {
        return {};
    }
    std::wstring folder = link.substr(0, slash + 1);
    return std::count(folder.begin(), folder.end(), L'/') > 3 ? folder : std::wstring{};
}

}  // namespace

GrabLinksDialog::GrabLinksDialog(std::vector<common::StringPair> links)
    : AddonDialog(grabLinksTemplate(), L"Dialog::Grab"), links_(std::move(links)) {}

void GrabLinksDialog::onStart() {
    setColumns(kLinkList, {translated(L"Title"), translated(L"Link")});
    fillList();
    setSelection(kLinkList, rowCount(kLinkList) > 0 ? 0 : -1);
    setFocusItem(kLinkList);
}

void GrabLinksDialog::fillList() {
    clearRows(kLinkList);
    for (std::size_t i = 0; i < links_.size(); ++i) {
        ui::ListRow row;
        row.texts = {links_[i].name, links_[i].value};
        row.checked = i > 0 || firstRowTicked(links_);
        insertRow(kLinkList, static_cast<int>(i), std::move(row));
    }
}

void GrabLinksDialog::moveSelected(int by) {
    const int from = selection(kLinkList);
    const int to = from + by;
    if (from < 0 || to < 0 || to >= rowCount(kLinkList)) {
        return;
    }
    ui::ListRow row = rows(kLinkList)[static_cast<std::size_t>(from)];
    deleteRow(kLinkList, from);
    insertRow(kLinkList, to, std::move(row));
    setSelection(kLinkList, to);
}

void GrabLinksDialog::checkAll(bool checked) {
    for (int i = 0; i < rowCount(kLinkList); ++i) {
        setRowChecked(kLinkList, i, checked);
    }
}

void GrabLinksDialog::hideUnchecked() {
    for (int i = rowCount(kLinkList) - 1; i >= 0; --i) {
        if (!isRowChecked(kLinkList, i)) {
            deleteRow(kLinkList, i);
        }
    }
}

void GrabLinksDialog::checkSameFolder(int row) {
    if (row < 0 || row >= rowCount(kLinkList)) {
        return;
    }
    const std::wstring folder = folderOf(rowText(kLinkList, row, 1));
    if (folder.empty()) {
        return;
    }
    for (int i = 0; i < rowCount(kLinkList); ++i) {
        if (rowText(kLinkList, i, 1).starts_with(folder)) {
            setRowChecked(kLinkList, i, true);
        }
    }
}

void GrabLinksDialog::onCommand(int id, ui::UINT code) {
    if (code != ui::BN_CLICKED) {
        return;
    }
    switch (id) {
        case kUpButton:
            moveSelected(-1);
            break;
        case kDownButton:
            moveSelected(1);
            break;
        case kCheckAllButton:
            checkAll(true);
            break;
        case kUncheckAllButton:
            checkAll(false);
            break;
        case kHideUncheckButton:
            hideUnchecked();
            break;
        case kResetButton:
            fillList();
            break;
        case ui::IDOK:
            chosen_.clear();
            for (const ui::ListRow& row : rows(kLinkList)) {
                if (row.checked && row.texts.size() >= 2) {
                    chosen_.push_back({row.texts[0], row.texts[1]});
                }
            }
            endDialog(ui::IDOK);
            break;
        case ui::IDCANCEL:
            chosen_.clear();
            endDialog(ui::IDCANCEL);
            break;
        default:
            break;
    }
}

void GrabLinksDialog::onNotify(int id, int code) {
    if (id == kLinkList && code == ui::NM_DBLCLK) {
        checkSameFolder(selection(kLinkList));
    }
}

}  // namespace addon
