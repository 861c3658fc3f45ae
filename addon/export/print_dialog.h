// PrintDialog ("Print to PDF", template 213): the person names the book and the file, picks
// a reading device, the orientation, a few formatting options and the output folder. On OK
// the page is adjusted for the device (the "readable" elements narrowed to its width, the
// background removed and the font made heavier through page commands), a
// ConversionWorker turns the page into the PDF while a 200 ms timer moves the progress bar
// and pumps the page's tasks, and when the worker ends the adjustments are taken back and
// the dialog closes with a message saying what was written.
//
// Contract: created, run and destroyed on the page's user-interface thread. The page may
// be null (the browser gave no document). Page commands go through `runCommand`, which the
// dispatcher binds to its own entry point; they are undone with "command-undo". Cancelling
// a conversion (after the person confirms) stops the worker cooperatively and joins it: no
// PDF is written then. Destruction stops and joins a worker that still runs and takes the
// adjustments back.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "addon/export/conversion_worker.h"
#include "addon/export/print_settings.h"
#include "platform/dom/document.h"
#include "platform/ui/dialog.h"

namespace addon {

inline constexpr int kPrintDialogId = 213;
inline constexpr int kPrintBookTitleEdit = 263;
inline constexpr int kPrintFileTitleEdit = 264;
inline constexpr int kPrintDeviceList = 269;
inline constexpr int kPrintPortraitRadio = 204;
inline constexpr int kPrintLandscapeRadio = 205;
inline constexpr int kPrintShrinkWidthCheck = 208;
inline constexpr int kPrintShrinkImagesCheck = 210;
inline constexpr int kPrintFontWeightCheck = 209;
inline constexpr int kPrintBackgroundCheck = 207;
inline constexpr int kPrintOutputFolderEdit = 265;
inline constexpr int kPrintBrowseButton = 266;
inline constexpr int kPrintProgressBar = 270;
inline constexpr int kPrintAutoTransferCheck = 271;

// Bits of PrintDialog::options.
inline constexpr int kPrintOptionBackground = 1;
inline constexpr int kPrintOptionShrinkWidth = 2;
inline constexpr int kPrintOptionShrinkImages = 4;
inline constexpr int kPrintOptionFontWeight = 8;

platform::ui::DialogTemplate printDialogTemplate();

// Runs a command string on the page's window; the dispatcher's result code.
using PageCommandRunner = std::function<int(const std::wstring& command)>;

class PrintDialog : public platform::ui::Dialog {
  public:
    static constexpr std::uintptr_t kProgressTimer = 1;
    static constexpr std::chrono::milliseconds kProgressPeriod{200};

    PrintDialog(std::shared_ptr<platform::dom::Document> page, PageCommandRunner runCommand);
    ~PrintDialog() override;

    // Filled by the creator before the dialog runs.
    std::wstring bookTitle;
    std::wstring subject;
    std::wstring author;
    std::wstring fileTitle;
    // devices.xml; the data folder's by default.
    std::wstring devicesFile;

    // Known after OK.
    std::wstring outputPath;
    // The person's choices, read from the registry when the dialog opens and stored on OK.
    PrintSettings settings;
    int pageWidth = 600;
    int pageHeight = 800;
    int options = 0;

    // How the last conversion ended; nothing before one has ended.
    const std::optional<ConversionOutcome>& outcome() const { return outcome_; }

    // Adjusts the page and starts the progress timer: 0, or -1 without a page.
    int prepare();

  protected:
    void onInit() override;
    void onCommand(int id, platform::ui::UINT code) override;
    void onTimer(std::uintptr_t id) override;

  private:
    // A narrowed "readable" element and its whole style attribute before (none when it had
    // none), so that the page gets its markup back byte for byte.
    struct SavedBox {
        std::shared_ptr<platform::dom::Element> element;
        std::optional<std::wstring> styleAttribute;
        std::size_t position = 0;
    };

    void onConvert();
    void onCancel();
    void onBrowse();
    void onTick();
    // Takes the adjustments back, shows the outcome and forgets the worker; `cancelled`
    // when the person stopped the conversion.
    void finish(bool cancelled);
    void stopWorker();
    void takeAdjustmentsBack();
    void readControls();
    void showFields();
    void enableControls(bool enabled);
    bool validate();

    std::shared_ptr<platform::dom::Document> page_;
    PageCommandRunner runCommand_;
    std::unique_ptr<ConversionWorker> worker_;
    std::optional<ConversionOutcome> outcome_;
    bool adjusted_ = false;
    // Page commands that the dispatcher took, each to be undone once.
    int commandsToUndo_ = 0;
    int progressStep_ = 1;
    std::vector<SavedBox> savedBoxes_;
};

}  // namespace addon
