#include "addon/export/print_dialog.h"

#include <algorithm>
#include <filesystem>

#include "addon/export/device_profiles.h"
#include "addon/export/print_settings.h"
#include "addon/shell/data_folders.h"
#include "common/language/language_table.h"
#include "common/util/file_name_rule.h"
#include "common/util/message_box.h"
#include "common/util/path_tools.h"
#include "platform/dom/style/inline_style.h"
#include "platform/ui/presenter.h"
#include "platform/ui/window_system.h"

namespace addon {

namespace ui = platform::ui;
using ui::ControlKind;

namespace {

constexpr std::size_t kDeviceTextLimit = 128;
constexpr int kProgressLimit = 100;
// Joining a stopped worker pumps the page's tasks in slices of this length.
constexpr std::chrono::milliseconds kJoinSlice{20};

std::wstring trimmed(const std::wstring& text) {
    const auto isBlank = [](wchar_t c) {
        return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
    };
    const auto first = std::find_if_not(text.begin(), text.end(), isBlank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isBlank).base();
    return first < last ? std::wstring(first, last) : std::wstring();
}

bool isFolder(const std::wstring& path) {
    std::error_code error;
    return std::filesystem::is_directory(std::filesystem::path(common::nativePath(path)), error);
}

}  // namespace

ui::DialogTemplate printDialogTemplate() {
    auto label = [](const wchar_t* text, ui::Rect bounds) {
        return ui::ControlTemplate{.kind = ControlKind::staticText, .text = text, .bounds = bounds};
    };
    return {kPrintDialogId,
            L"Print to PDF",
            260,
            212,
            {
                label(L"&Book Title:", {7, 9, 60, 17}),
                {.id = kPrintBookTitleEdit, .kind = ControlKind::edit, .bounds = {64, 7, 253, 19}},
                label(L"File Title:", {7, 25, 60, 33}),
                {.id = kPrintFileTitleEdit, .kind = ControlKind::edit, .bounds = {64, 23, 253, 35}},
                label(L"Device:", {7, 41, 60, 49}),
                {.id = kPrintDeviceList,
                 .kind = ControlKind::dropDownList,
                 .bounds = {64, 39, 253, 120}},
                {.id = kPrintPortraitRadio,
                 .kind = ControlKind::radioButton,
                 .text = L"Portrait",
                 .bounds = {64, 56, 140, 66},
                 .groupStart = true},
                {.id = kPrintLandscapeRadio,
                 .kind = ControlKind::radioButton,
                 .text = L"Landscape",
                 .bounds = {144, 56, 220, 66}},
                {.id = kPrintShrinkWidthCheck,
                 .kind = ControlKind::checkBox,
                 .text = L"Enable Shrink-to-Fit",
                 .bounds = {7, 74, 253, 84}},
                {.id = kPrintShrinkImagesCheck,
                 .kind = ControlKind::checkBox,
                 .text = L"Enable Shink images to fit page width",
                 .bounds = {7, 88, 253, 98}},
                {.id = kPrintFontWeightCheck,
                 .kind = ControlKind::checkBox,
                 .text = L"Increase the Font Weight",
                 .bounds = {7, 102, 253, 112}},
                {.id = kPrintBackgroundCheck,
                 .kind = ControlKind::checkBox,
                 .text = L"Print Background Colors and Images",
                 .bounds = {7, 116, 253, 126}},
                label(L"&Output Folder:", {7, 134, 60, 142}),
                {.id = kPrintOutputFolderEdit,
                 .kind = ControlKind::edit,
                 .bounds = {64, 132, 200, 144}},
                {.id = kPrintBrowseButton,
                 .kind = ControlKind::pushButton,
                 .text = L"Change...",
                 .bounds = {203, 131, 253, 145}},
                {.id = kPrintAutoTransferCheck,
                 .kind = ControlKind::checkBox,
                 .text = L"Transfer to Device",
                 .bounds = {7, 152, 253, 162}},
                {.id = kPrintProgressBar,
                 .kind = ControlKind::progressBar,
                 .bounds = {7, 170, 253, 180},
                 .hidden = true},
                {.id = ui::IDOK,
                 .kind = ControlKind::pushButton,
                 .text = L"OK",
                 .bounds = {149, 191, 199, 205},
                 .defaultButton = true},
                {.id = ui::IDCANCEL,
                 .kind = ControlKind::pushButton,
                 .text = L"Cancel",
                 .bounds = {203, 191, 253, 205}},
            }};
}

PrintDialog::PrintDialog(std::shared_ptr<platform::dom::Document> page,
                         PageCommandRunner runCommand)
    : Dialog(printDialogTemplate()),
      devicesFile(resolveDataFolder(L"ConfigData") + L"/devices.xml"),
      page_(std::move(page)),
      runCommand_(std::move(runCommand)) {}

PrintDialog::~PrintDialog() {
    if (adjusted_)
        finish(true);
}

void PrintDialog::onInit() {
    ui::centerWindow(handle());
    common::languageTable().localizeDialog(handle(), L"Dialog::PrintToPDF",
                                           common::TextMatch::everyItem);

    settings = PrintSettings::load();

    DeviceList devices;
    devices.loadDevices(devicesFile);
    clearRows(kPrintDeviceList);
    for (const std::wstring& title : devices.listDeviceTitles())
        addRow(kPrintDeviceList, title);
    // A saved device that the list no longer offers gives way to the first one listed.
    const int savedRow = findExactRow(kPrintDeviceList, settings.device);
    setSelection(kPrintDeviceList,
                 savedRow >= 0 || devices.listDeviceTitles().empty() ? savedRow : 0);

    showFields();
    setFocusItem(kPrintBookTitleEdit);
}

void PrintDialog::onCommand(int id, ui::UINT code) {
    if (code != ui::BN_CLICKED)
        return;
    if (id == ui::IDOK)
        onConvert();
    else if (id == ui::IDCANCEL)
        onCancel();
    else if (id == kPrintBrowseButton)
        onBrowse();
}

void PrintDialog::onTimer(std::uintptr_t id) {
    if (id == kProgressTimer)
        onTick();
}

void PrintDialog::readControls() {
    bookTitle = itemText(kPrintBookTitleEdit);
    fileTitle = itemText(kPrintFileTitleEdit);
    settings.outputFolder = itemText(kPrintOutputFolderEdit);
    settings.device = itemText(kPrintDeviceList).substr(0, kDeviceTextLimit);
    settings.landscape = isChecked(kPrintLandscapeRadio) ? 1 : 0;
    settings.autoTransfer = checkState(kPrintAutoTransferCheck);
    settings.shrinkWidth = checkState(kPrintShrinkWidthCheck);
    settings.shrinkImages = checkState(kPrintShrinkImagesCheck);
    settings.increaseFontWeight = checkState(kPrintFontWeightCheck);
    settings.printBackground = checkState(kPrintBackgroundCheck);
}

void PrintDialog::showFields() {
    setItemText(kPrintBookTitleEdit, bookTitle);
    setItemText(kPrintFileTitleEdit, fileTitle);
    setItemText(kPrintOutputFolderEdit, settings.outputFolder);
    checkRadioButton(kPrintPortraitRadio, kPrintLandscapeRadio,
                     settings.landscape ? kPrintLandscapeRadio : kPrintPortraitRadio);
    setCheckState(kPrintAutoTransferCheck, settings.autoTransfer ? 1 : 0);
    setCheckState(kPrintShrinkWidthCheck, settings.shrinkWidth ? 1 : 0);
    setCheckState(kPrintShrinkImagesCheck, settings.shrinkImages ? 1 : 0);
    setCheckState(kPrintFontWeightCheck, settings.increaseFontWeight ? 1 : 0);
    setCheckState(kPrintBackgroundCheck, settings.printBackground ? 1 : 0);
}

void PrintDialog::onBrowse() {
    readControls();
    const auto chosen = ui::browseForFolder(handle(), L"Please select a output folder",
                                            settings.outputFolder, false);
    if (!chosen)
        return;
    settings.outputFolder = *chosen;
    showFields();
}

bool PrintDialog::validate() {
    bookTitle = trimmed(bookTitle);
    if (bookTitle.empty()) {
        common::errorBox(L"'Book Title' format error, please specify the title", {}, handle());
        setFocusItem(kPrintBookTitleEdit);
        return false;
    }
    fileTitle = trimmed(fileTitle);
    // The file lands in the output folder and nowhere else: a name with a separator (the
    // page's own title may carry one) or a bare ".." is refused like an empty one; any
    // other name is cleaned by the rule of every file name.
    const std::wstring cleaned = common::fileNameFromTitle(fileTitle, L"");
    if (cleaned.empty() || fileTitle == L".." ||
        fileTitle.find_first_of(L"/\\") != std::wstring::npos) {
        common::errorBox(L"'File Title' format error, please specify the file name", {}, handle());
        setFocusItem(kPrintFileTitleEdit);
        return false;
    }
    fileTitle = cleaned;
    if (findExactRow(kPrintDeviceList, settings.device) < 0) {
        common::errorBox(L"'Device' not chosen, please select the reading device", {}, handle());
        setFocusItem(kPrintDeviceList);
        return false;
    }
    settings.outputFolder = trimmed(settings.outputFolder);
    if (!settings.outputFolder.empty() && settings.outputFolder.back() != L'\\' &&
        settings.outputFolder.back() != L'/')
        settings.outputFolder += L'/';
    if (settings.outputFolder.empty() || !isFolder(settings.outputFolder)) {
        common::errorBox(L"'Output Folder' not exists, please specify the output folder", {},
                         handle());
        setFocusItem(kPrintOutputFolderEdit);
        return false;
    }
    return true;
}

void PrintDialog::onConvert() {
    if (worker_)
        return;
    readControls();
    if (!validate()) {
        showFields();
        return;
    }
    DeviceList devices;
    devices.loadDevices(devicesFile);
    const DevicePageSize size = devices.pageSize(settings.device, settings.landscape != 0);
    pageWidth = size.width;
    pageHeight = size.height;

    options = (settings.printBackground ? kPrintOptionBackground : 0) |
              (settings.shrinkWidth ? kPrintOptionShrinkWidth : 0) |
              (settings.shrinkImages ? kPrintOptionShrinkImages : 0) |
              (settings.increaseFontWeight ? kPrintOptionFontWeight : 0);
    settings.save();
    outputPath = common::nativePath(settings.outputFolder + fileTitle + L".pdf");

    if (prepare() != 0)
        return;
    worker_ = std::make_unique<ConversionWorker>(
        ConversionJob{page_->proxy(), pageWidth, pageHeight, bookTitle, subject, author, outputPath,
                      devices.smallestScale(settings.device, settings.landscape != 0)});
    worker_->resume();
}

int PrintDialog::prepare() {
    outcome_.reset();
    enableControls(false);
    showItem(kPrintProgressBar, true);
    setProgressRange(kPrintProgressBar, 0, kProgressLimit);
    setProgressPosition(kPrintProgressBar, 0);
    progressStep_ = 1;
    setTimer(kProgressTimer, kProgressPeriod);
    if (!page_)
        return -1;

    adjusted_ = true;
    if (options & kPrintOptionShrinkWidth) {
        for (const auto& element : page_->getElementsByName(ConversionWorker::kElementName)) {
            platform::dom::Style style = element->style();
            savedBoxes_.push_back({element, element->getAttribute(L"style"),
                                   element->attributePosition(L"style").value_or(0)});
            style.setAttribute(L"width", std::to_wstring(pageWidth) + L"px");
            // The page style's own limit (a readable column of 36em) would win over the width.
            style.setAttribute(L"max-width", std::to_wstring(pageWidth) + L"px");
            style.setAttribute(L"padding", L"0px");
            style.setAttribute(L"overflow", L"hidden");
        }
    }
    // Only commands the dispatcher took are on the page's history to be undone later.
    auto run = [this](const wchar_t* command) {
        if (runCommand_ && runCommand_(command) != 1)
            ++commandsToUndo_;
    };
    if (!(options & kPrintOptionBackground))
        run(L"command-remove-background");
    if (options & kPrintOptionFontWeight)
        run(L"command-font-weight/+200");
    return 0;
}

void PrintDialog::enableControls(bool enabled) {
    for (const ui::ControlTemplate& control : definition().controls) {
        if (control.id != ui::IDC_STATIC && control.id != ui::IDCANCEL)
            enableItem(control.id, enabled);
    }
}

void PrintDialog::onTick() {
    if (page_ && page_->isOwnerThread())
        page_->pumpTasks();
    const int next = progressPosition(kPrintProgressBar) + progressStep_;
    setProgressPosition(kPrintProgressBar,
                        next <= kProgressLimit ? next : next % kProgressLimit + 50);
    if (worker_ && worker_->done()) {
        finish(false);
        endDialog(ui::IDOK);
    }
}

void PrintDialog::stopWorker() {
    if (!worker_)
        return;
    worker_->requestStop();
    // The worker may be waiting for work on the page, or for the page to be put back:
    // the page's tasks keep running while it ends.
    while (!worker_->waitForEnd(kJoinSlice)) {
        if (page_ && page_->isOwnerThread())
            page_->pumpTasks();
    }
    worker_->stopAndJoin();
}

void PrintDialog::takeAdjustmentsBack() {
    for (; commandsToUndo_ > 0; --commandsToUndo_)
        runCommand_(L"command-undo");
    for (const SavedBox& saved : savedBoxes_) {
        if (saved.styleAttribute)
            saved.element->setAttributeAt(saved.position, L"style", *saved.styleAttribute);
        else
            saved.element->removeAttribute(L"style");
    }
    savedBoxes_.clear();
    adjusted_ = false;
}

void PrintDialog::finish(bool cancelled) {
    if (handle()) {
        enableControls(true);
        showItem(kPrintProgressBar, false);
        killTimer(kProgressTimer);
    }
    const bool wasDone = worker_ && worker_->done();
    stopWorker();
    if (worker_)
        outcome_ = wasDone || !cancelled ? worker_->outcome()
                                         : ConversionOutcome{ConversionOutcome::Kind::stopped, L""};
    worker_.reset();
    takeAdjustmentsBack();
    if (cancelled || !outcome_ || !handle())
        return;
    if (outcome_->kind == ConversionOutcome::Kind::saved)
        common::infoBox(L"Output complete:\r\n" + outputPath, {}, handle());
    else
        common::errorBox(L"Output failed:\r\n" + outputPath + L"\r\n" + outcome_->reason, {},
                         handle());
}

void PrintDialog::onCancel() {
    if (worker_) {
        if (common::askBox(L"Converting now, are you sure to cancel?", {}, handle()) != ui::IDYES)
            return;
        finish(true);
    }
    endDialog(ui::IDCANCEL);
}

}  // namespace addon
