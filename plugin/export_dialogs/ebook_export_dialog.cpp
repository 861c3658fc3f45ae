#include "plugin/export_dialogs/ebook_export_dialog.h"

#include <filesystem>
#include <system_error>

#include "common/language/language_table.h"
#include "common/util/file_name_rule.h"
#include "platform/ui/presenter.h"
#include "plugin/export/mobi_converter.h"
#include "plugin/export/output_file.h"
#include "plugin/export_dialogs/ebook_template.h"
#include "plugin/export_dialogs/export_settings.h"
#include "plugin/util/files.h"
#include "plugin/util/message_boxes.h"
#include "plugin/util/strings.h"

namespace plugin {

namespace ui = platform::ui;

namespace {

constexpr std::uintptr_t kProgressTimer = 1;
constexpr std::chrono::milliseconds kProgressPeriod{200};
constexpr int kProgressStep = 1;

bool folderExists(const std::wstring& folder) {
    std::error_code error;
    return std::filesystem::is_directory(nativeFilePath(folder), error);
}

std::wstring translated(const std::wstring& text) {
    return common::languageTable().translate(L"Message", text);
}

// The translated text with "#file#" replaced by `file`.
std::wstring withFile(const std::wstring& text, const std::wstring& file) {
    std::wstring message = translated(text);
    for (auto at = message.find(L"#file#"); at != std::wstring::npos;
         at = message.find(L"#file#", at + file.size()))
        message.replace(at, 6, file);
    return message;
}

}  // namespace

EbookExportDialog::EbookExportDialog(bool offersTableOfContents)
    : PluginDialog(ebookTemplate(), L"ExportEbook"),
      offersTableOfContents_(offersTableOfContents) {}

EbookExportDialog::~EbookExportDialog() {
    if (worker_)
        worker_->finish();
}

void EbookExportDialog::onStart() {
    for (const std::wstring& name : ebookFormats())
        addRow(kFormatList, name);
    const ExportSettings settings = readExportSettings();
    format = settings.format;
    outputFolder = settings.output;
    autoTransfer = settings.autoTransfer != 0 ? 1 : 0;
    addTableOfContents = offersTableOfContents_ && settings.addTableOfContents != 0 ? 1 : 0;
    if (!offersTableOfContents_)
        showItem(kTableOfContentsCheck, false);
    prefillTitles();
    showFields();
}

void EbookExportDialog::showFields() {
    setItemText(kBookTitleEdit, bookTitle);
    setItemText(kFileTitleEdit, fileTitle);
    setItemText(kOutputFolderEdit, outputFolder);
    const int row = findExactRow(kFormatList, format);
    setSelection(kFormatList, row >= 0 ? row : 0);
    setCheckState(kTransferCheck, autoTransfer);
    setCheckState(kTableOfContentsCheck, addTableOfContents);
}

void EbookExportDialog::readFields() {
    autoTransfer = isChecked(kTransferCheck) ? 1 : 0;
    if (offersTableOfContents_)
        addTableOfContents = isChecked(kTableOfContentsCheck) ? 1 : 0;
    bookTitle = trimmed(itemText(kBookTitleEdit));
    fileTitle = trimmed(itemText(kFileTitleEdit));
    outputFolder = trimmed(itemText(kOutputFolderEdit));
    const int row = selection(kFormatList);
    format = row >= 0 ? rowText(kFormatList, row) : ebookFormats().front();
}

void EbookExportDialog::onCommand(int id, ui::UINT code) {
    if (code != ui::BN_CLICKED) {
        PluginDialog::onCommand(id, code);
        return;
    }
    switch (id) {
        case kChangeFolderButton:
            changeFolder();
            return;
        case ui::IDOK:
            confirm();
            return;
        case ui::IDCANCEL:
            cancel();
            return;
        default:
            PluginDialog::onCommand(id, code);
    }
}

void EbookExportDialog::changeFolder() {
    readFields();
    if (auto chosen =
            ui::browseForFolder(handle(), L"Please select a output folder", outputFolder, true)) {
        outputFolder = *chosen;
        showFields();
    }
}

void EbookExportDialog::confirm() {
    if (worker_)
        return;
    readFields();
    if (bookTitle.empty()) {
        errorBox(L"'Book Title' format error, please specify the title", {}, handle());
        setFocusItem(kBookTitleEdit);
        return;
    }
    if (fileTitle.empty()) {
        errorBox(L"'File Name' format error, please specify the file name", {}, handle());
        setFocusItem(kFileTitleEdit);
        return;
    }
    // The file title names a file inside the output folder, never a path.
    fileTitle = common::fileNameFromTitle(fileTitle);
    setItemText(kFileTitleEdit, fileTitle);
    if (!outputFolder.ends_with(L"\\") && !outputFolder.ends_with(L"/"))
        outputFolder += L"/";
    setItemText(kOutputFolderEdit, outputFolder);
    if (!folderExists(outputFolder)) {
        errorBox(L"'Output Folder' not exists, please specify the output folder", {}, handle());
        setFocusItem(kOutputFolderEdit);
        return;
    }
    if (format == L"MOBI" && !fileExists(mobiConverterPath())) {
        if (mobiConverterMissingCloses())
            endDialog(ui::IDCANCEL);
        else
            setFocusItem(kFormatList);
        return;
    }
    storeExportSettings({format, outputFolder, autoTransfer, addTableOfContents},
                        offersTableOfContents_);
    int code = ebookFormatCode(format);
    if (offersTableOfContents_ && addTableOfContents)
        code |= kExportTableOfContents;
    std::wstring target = outputFolder + fileTitle + L"." + ebookExtension(format);
    // An earlier book of the same file title is replaced only when the person says so.
    std::error_code ignoredError;
    if (std::filesystem::is_regular_file(nativeFilePath(target), ignoredError) &&
        !replaceExistingFile(target))
        target = freePathBeside(target);
    start(target, code);
}

bool EbookExportDialog::replaceExistingFile(const std::wstring& file) {
    const std::wstring question = withFile(
        L"The file #file# exists already.\r\n\r\nDo you want to replace it? (No writes the "
        L"book under a free name beside it.)",
        file);
    return showMessage(handle(), question, {},
                       ui::MB_YESNO | ui::MB_ICONQUESTION | ui::MB_DEFBUTTON2) == ui::IDYES;
}

bool EbookExportDialog::mobiConverterMissingCloses() {
    const std::wstring question = withFile(
        L"MOBI converter doesn't exist, can't generate .mobi file.:\r\n\r\nDo you want "
        L"install MOBI converter(from Amazon)?",
        mobiConverterPath());
    return askBox(question, {}, handle()) == ui::IDNO;
}

void EbookExportDialog::enableControls(bool enabled) {
    for (const auto& control : definition().controls)
        if (control.id != ui::IDC_STATIC && control.id != ui::IDCANCEL &&
            control.id != kExportProgress)
            enableItem(control.id, enabled);
}

void EbookExportDialog::start(const std::wstring& file, int code) {
    enableControls(false);
    setProgressRange(kExportProgress, 0, 100);
    setProgressPosition(kExportProgress, 0);
    showItem(kExportProgress, true);
    outputFile = file;
    exportResult = 1;
    setTimer(kProgressTimer, kProgressPeriod);
    worker_ = std::make_unique<ExportWorker>(
        [this, title = bookTitle, file, code](ExportControl& control) {
            return exportTo(title, file, code, control);
        });
}

void EbookExportDialog::onTimer(std::uintptr_t id) {
    if (id != kProgressTimer || !worker_)
        return;
    int position = progressPosition(kExportProgress) + kProgressStep;
    if (position > 100)
        position = position % 100 + 50;
    setProgressPosition(kExportProgress, position);
    if (worker_->done())
        finish();
}

void EbookExportDialog::finish() {
    killTimer(kProgressTimer);
    worker_->finish();
    const std::unique_ptr<ExportWorker> worker = std::move(worker_);
    enableControls(true);
    showItem(kExportProgress, false);
    exportResult = worker->result();
    if (exportResult == 0)
        infoBox(translated(L"Output complete:\r\n") + outputFile, {}, handle());
    else if (!worker->cancelled())
        errorBox(worker->error(), {}, handle());
}

void EbookExportDialog::cancel() {
    if (!worker_) {
        endDialog(ui::IDCANCEL);
        return;
    }
    if (showMessage(handle(), cancelQuestion(), {}, ui::MB_YESNO | ui::MB_ICONQUESTION) !=
        ui::IDYES)
        return;
    worker_->cancel();
    finish();
    endDialog(ui::IDCANCEL);
}

}  // namespace plugin
