#include "plugin/module/tamrix_plugin2.h"

#include "common/markup/markup_sanitizer.h"
#include "common/util/url_text.h"
#include "platform/ui/window_system.h"
#include "plugin/dialogs/simple_save_dialog.h"
#include "plugin/export/export_codes.h"
#include "plugin/export_dialogs/export_dialogs.h"
#include "plugin/module/plugin_identity.h"
#include "plugin/module/plugin_library.h"
#include "plugin/repository/repository.h"

namespace plugin {

namespace {

constexpr wchar_t kItemPrefix[] = L"tarn://tamrix/item?";
constexpr wchar_t kSeparator[] = L"-----";

// The repository pages whose address names what an export takes: the rest of the address
// is the key; the count limits the newest entries.
struct RepositoryAddress {
    std::wstring_view prefix;
    int scope;
    int count;
};
constexpr RepositoryAddress kRepositoryAddresses[] = {
    {L"tarn://tamrix/item?", kScopeItem, 1},     {L"tarn://tamrix/folder?", kScopeFolder, 0},
    {L"tarn://tamrix/site?", kScopeSite, 0},     {L"tarn://tamrix/category?", kScopeCategory, 0},
    {L"tarn://tamrix/latest", kScopeLatest, 30},
};

// Proposals first, then (when there are both) a separator and every existing value.
std::vector<std::wstring> proposalsThenAll(const std::vector<std::wstring>& proposals,
                                           const std::wstring& column) {
    std::vector<std::wstring> all;
    listDistinct(column, all);
    std::vector<std::wstring> list = proposals;
    if (!proposals.empty() && !all.empty())
        list.push_back(kSeparator);
    list.insert(list.end(), all.begin(), all.end());
    return list;
}

// The separator row is no value of its own.
std::wstring chosenValue(const std::wstring& value) {
    return value == kSeparator ? L"" : value;
}

// Reports a save that stored nothing, with the reason; the host must not take it as done.
int saveFailed(bool* handled, const std::wstring& reason) {
    showError(L"The clip could not be saved in the repository.", reason);
    *handled = false;
    return -1;
}

int saveFailed(bool* handled) {
    return saveFailed(handled, repositoryError());
}

int saved(bool* handled) {
    *handled = true;
    return 0;
}

}  // namespace

std::wstring TamrixPlugin2::GetName() {
    return kPluginName;
}
std::wstring TamrixPlugin2::GetVersion() {
    return kPluginVersion;
}
bool TamrixPlugin2::HasEvent(const std::wstring& name) {
    return name == L"OnSave" || name == L"OnExport";
}

int TamrixPlugin2::OnSave(const std::wstring& url, const std::wstring& title,
                          const std::wstring& description, const std::wstring& text,
                          const std::wstring& clipHtml, bool* handled) {
    // Clips come from any page: what is stored can run no script wherever it is shown.
    const std::wstring html = common::safeMarkup(clipHtml);
    if (repositoryPath().empty())
        return saveFailed(handled);

    if (url.starts_with(kItemPrefix)) {
        EntryRecord shown;
        if (readEntry(url.substr(std::size(kItemPrefix) - 1), shown)) {
            shown.text = text;
            shown.html = html;
            return updateEntry(shown) == 0 ? saved(handled) : saveFailed(handled, lastWriteError());
        }
    }

    const auto categories = suggestValues(L"category", url, 3);
    const auto folders = suggestValues(L"folder", url, 3);
    SimpleSaveDialog dialog;
    dialog.title = title;
    dialog.description = description;
    dialog.mode = SimpleSaveDialog::kOverwrite;
    if (!categories.empty())
        dialog.category = categories.front();
    if (!folders.empty())
        dialog.folder = folders.front();
    dialog.categories = proposalsThenAll(categories, L"category");
    dialog.folders = proposalsThenAll(folders, L"folder");
    listTitles(dialog.titles, dialog.ids, L"", L"");
    if (dialog.doModal(platform::ui::windows().active()) != platform::ui::IDOK) {
        *handled = true;
        return -1;
    }
    const std::wstring category = chosenValue(dialog.category);
    const std::wstring folder = chosenValue(dialog.folder);

    if (!dialog.existingId.empty() && dialog.mode != SimpleSaveDialog::kCreate) {
        EntryRecord existing;
        if (!readEntry(dialog.existingId, existing))
            return saveFailed(handled, L"The chosen entry no longer exists.");
        existing.text = dialog.mode == SimpleSaveDialog::kAppend ? existing.text + text : text;
        existing.html = dialog.mode == SimpleSaveDialog::kAppend ? existing.html + html : html;
        existing.category = category;
        existing.folder = folder;
        existing.tags = dialog.tags;
        return updateEntry(existing) == 0 ? saved(handled) : saveFailed(handled, lastWriteError());
    }

    EntryRecord record;
    record.url = url;
    record.title = dialog.title;
    record.description = dialog.description;
    record.tags = dialog.tags;
    record.text = text;
    record.html = html;
    record.category = category;
    record.folder = folder;
    return insertEntry(record).empty() ? saveFailed(handled, lastWriteError()) : saved(handled);
}

int TamrixPlugin2::OnExport(const std::wstring& url, const std::wstring& title,
                            const std::wstring& description, const std::wstring& text,
                            const std::wstring& html, bool* handled) {
    *handled = true;
    const platform::ui::HWND owner = platform::ui::windows().active();
    for (const RepositoryAddress& address : kRepositoryAddresses)
        if (url.starts_with(address.prefix)) {
            // The pages write keys percent-encoded into their addresses.
            const std::wstring key =
                common::urlUnescapeKeepingPlus(url.substr(address.prefix.size()));
            ExportDialog dialog(key, address.scope, address.count);
            dialog.doModal(owner);
            return -1;
        }
    ExportContentDialog dialog(url, title, description, text, html);
    dialog.doModal(owner);
    return -1;
}

}  // namespace plugin
