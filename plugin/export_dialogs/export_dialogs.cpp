#include "plugin/export_dialogs/export_dialogs.h"

#include <ctime>
#include <utility>

#include "common/util/file_name_rule.h"
#include "plugin/export/exports.h"
#include "plugin/repository/repository.h"
#include "plugin/util/files.h"

namespace plugin {

namespace {

std::wstring localDate() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    wchar_t text[16];
    std::wcsftime(text, std::size(text), L"%Y-%m-%d", &parts);
    return text;
}

}  // namespace

ExportDialog::ExportDialog(std::wstring key, int scope, int count)
    : EbookExportDialog(true), key_(std::move(key)), scope_(scope), count_(count) {}

void ExportDialog::prefillTitles() {
    switch (scope_) {
        case kScopeFolder:
            bookTitle = L"Tamrix-Folder-" + key_;
            fileTitle = common::fileNameFromTitle(key_);
            return;
        case kScopeSite:
            bookTitle = L"Tamrix-Site-" + key_;
            fileTitle = common::fileNameFromTitle(key_);
            return;
        case kScopeCategory:
            bookTitle = L"Tamrix-Category-" + key_;
            fileTitle = common::fileNameFromTitle(key_);
            return;
        case kScopeLatest:
            bookTitle = L"Tamrix-Latest-" + localDate();
            fileTitle = L"latest";
            return;
        case kScopeItem: {
            EntryRecord entry;
            if (readEntry(key_, entry)) {
                bookTitle = entry.title;
                fileTitle = common::fileNameFromTitle(entry.title);
            }
            return;
        }
    }
}

int ExportDialog::exportTo(const std::wstring& title, const std::wstring& file, int code,
                           ExportControl& control) const {
    switch (scope_) {
        case kScopeItem:
            return exportItem(title, key_, file, code, &control);
        case kScopeFolder:
            return exportFolder(title, key_, file, count_, code, &control);
        case kScopeSite:
            return exportSite(title, key_, file, count_, code, &control);
        case kScopeCategory:
            return exportCategory(title, key_, file, count_, code, &control);
        default:
            return exportLatest(title, file, count_, code, &control);
    }
}

std::wstring ExportDialog::cancelQuestion() const {
    return L"Converting now, are you sure to cancel?";
}

ExportContentDialog::ExportContentDialog(std::wstring url, std::wstring title,
                                         std::wstring /*description*/, std::wstring text,
                                         std::wstring html)
    : EbookExportDialog(false),
      url_(std::move(url)),
      title_(std::move(title)),
      text_(std::move(text)),
      html_(std::move(html)) {}

void ExportContentDialog::prefillTitles() {
    bookTitle = title_;
    if (!title_.empty())
        fileTitle = common::fileNameFromTitle(title_);
}

int ExportContentDialog::exportTo(const std::wstring& title, const std::wstring& file, int code,
                                  ExportControl& control) const {
    return exportContent(url_, title, text_, html_, file, code, &control);
}

std::wstring ExportContentDialog::cancelQuestion() const {
    return L"正在执行转换, 是否取消并退出程序?";
}

}  // namespace plugin
