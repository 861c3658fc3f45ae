// The base of the two export dialogs ("Export eBook"): asks for book title, file title,
// format and output folder, checks them, and runs the export on an ExportWorker while a
// progress bar moves; a timer polls the worker every 200 ms.
//
// Contract: one modal run on the user-interface thread. The settings are read when the
// dialog opens and written when an export starts. After an export the dialog stays open
// with the outcome shown: "Output complete" and the file when the export succeeded, the
// reason otherwise. Cancel while an export runs asks first; on Yes the export is
// cancelled (it leaves no partial file), the worker joined and the dialog closed. A dialog
// destroyed with an export running cancels and joins it too.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "plugin/dialogs/plugin_dialog.h"
#include "plugin/export/export_codes.h"
#include "plugin/export_dialogs/export_worker.h"

namespace plugin {

class EbookExportDialog : public PluginDialog {
  public:
    ~EbookExportDialog() override;

    std::wstring bookTitle;
    std::wstring fileTitle;
    std::wstring outputFolder;
    std::wstring format;
    int autoTransfer = 1;
    int addTableOfContents = 0;
    // The file the last export wrote or tried to write ("" before the first).
    std::wstring outputFile;
    // The last export's result: 0 written, -1 failed or cancelled, 1 none finished yet.
    int exportResult = 1;

    bool exporting() const { return worker_ != nullptr; }

  protected:
    explicit EbookExportDialog(bool offersTableOfContents);

    void onStart() override;
    void onCommand(int id, platform::ui::UINT code) override;
    void onTimer(std::uintptr_t id) override;

    // Sets the two titles the dialog opens with.
    virtual void prefillTitles() = 0;
    // Runs on the worker thread: writes the book to `file` in format `code`. Reads only
    // members that stay unchanged while the dialog lives.
    virtual int exportTo(const std::wstring& title, const std::wstring& file, int code,
                         ExportControl& control) const = 0;
    // Asked before a running export is cancelled.
    virtual std::wstring cancelQuestion() const = 0;

  private:
    void readFields();
    void showFields();
    void changeFolder();
    // Checks the fields and starts the export; the dialog stays open either way.
    void confirm();
    bool mobiConverterMissingCloses();
    // Asks before an existing file is replaced; false keeps it (a free name is taken).
    bool replaceExistingFile(const std::wstring& file);
    void start(const std::wstring& file, int code);
    void enableControls(bool enabled);
    // Ends the worker, restores the controls and reports the outcome.
    void finish();
    void cancel();

    bool offersTableOfContents_;
    std::unique_ptr<ExportWorker> worker_;
};

}  // namespace plugin
