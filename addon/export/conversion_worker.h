// The Print-to-PDF conversion thread: captures the page's "readable" parts (the whole page
// when it has none), laid out at the device's page width and painted smaller when still
// wider (down to the smallest scale that keeps text readable on the device), as PNG tiles
// in a fresh folder in the user's own temporary folder, turns them into a PDF of the
// device's page size (one picture per page) and writes it to the output path, then
// deletes the tiles and their folder.
//
// Contract: the worker owns a copy of its job, so the dialog's fields are never shared.
// It reaches the page only through the page's proxy; the page's thread must pump the
// page's tasks while the worker runs. A stop request ends it at the next step: no PDF is
// written after a stop, and the PDF file is written whole or not at all. done() turns true
// once the procedure has finished, and outcome() is final from then on. Destruction stops
// and joins the thread.
#pragma once

#include <atomic>
#include <mutex>
#include <string>

#include "addon/export/paging/tile_marks.h"
#include "common/thread/thread.h"
#include "platform/dom/task_queue.h"

namespace addon {

struct ConversionJob {
    platform::dom::DocumentProxy page;
    int pageWidth = 0;
    int pageHeight = 0;
    std::wstring bookTitle;
    std::wstring subject;
    std::wstring author;
    std::wstring outputPath;
    // Pages wider than the device are painted smaller, down to this scale; what is still
    // wider goes on pages of its own to the right (0: painted as small as needed).
    double smallestScale = 0;
};

struct ConversionOutcome {
    enum class Kind { saved, noPicture, failed, stopped };
    Kind kind = Kind::failed;
    // What went wrong, for the person; "" when saved or stopped.
    std::wstring reason;
};

class ConversionWorker : public common::CThreadImpl<ConversionWorker> {
  public:
    static constexpr const wchar_t* kElementName = L"readable";
    // Authors of this name are left out of the document's information.
    static constexpr const wchar_t* kAnonymousAuthor = L"tamrix";

    explicit ConversionWorker(ConversionJob job) : job_(std::move(job)) {}
    ~ConversionWorker() override { stopAndJoin(); }

    static std::uint32_t threadProc(ConversionWorker* worker);

    bool done() const { return done_; }
    ConversionOutcome outcome() const;

  private:
    ConversionOutcome convert();
    ConversionOutcome writePdf(const std::vector<std::wstring>& tiles, const TileMarks& marks);

    const ConversionJob job_;
    std::atomic<bool> done_{false};
    mutable std::mutex mutex_;
    ConversionOutcome outcome_;
};

}  // namespace addon
