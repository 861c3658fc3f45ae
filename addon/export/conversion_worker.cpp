#include "addon/export/conversion_worker.h"

#include <filesystem>

#include "addon/export/capture/page_capture.h"
#include "addon/export/paging/tiles_to_pdf.h"
#include "platform/system/temporary_files.h"
#include "platform/system/write_failure.h"
#include "platform/text/utf.h"

namespace addon {

std::uint32_t ConversionWorker::threadProc(ConversionWorker* worker) {
    ConversionOutcome outcome;
    try {
        outcome = worker->convert();
    } catch (const std::exception&) {
        outcome = {ConversionOutcome::Kind::failed, L"Not enough memory for the conversion."};
    }
    {
        std::lock_guard lock(worker->mutex_);
        worker->outcome_ = std::move(outcome);
    }
    worker->done_ = true;
    return 0;
}

ConversionOutcome ConversionWorker::outcome() const {
    std::lock_guard lock(mutex_);
    return outcome_;
}

ConversionOutcome ConversionWorker::convert() {
    // The folder is this worker's own, in the user's temporary folder: everything in it
    // goes, listed tiles or not, however the conversion ends.
    const platform::system::TemporaryFolder temporary;
    if (temporary.path().empty())
        return {ConversionOutcome::Kind::failed, L"No temporary folder for the pictures."};
    const std::filesystem::path folder = temporary.path();

    ProxiedPageAccess page(job_.page, [this] { return stopRequested(); });
    // Laid out at the device's width; what is still wider is painted smaller to fit, as
    // far as the text stays readable.
    TileCapture how;
    how.layoutWidth = job_.pageWidth;
    how.fitWidth = job_.pageWidth;
    how.smallestScale = job_.smallestScale;
    TileMarks marks;
    const std::vector<std::wstring> tiles =
        captureReadableTiles(page, kElementName, (folder / "readable").wstring(), how, &marks);
    if (stopRequested())
        return {ConversionOutcome::Kind::stopped, L""};
    if (tiles.empty())
        return {ConversionOutcome::Kind::noPicture, L"No picture of the page could be taken."};
    return writePdf(tiles, marks);
}

ConversionOutcome ConversionWorker::writePdf(const std::vector<std::wstring>& tiles,
                                             const TileMarks& marks) {
    std::wstring reason;
    auto pdf =
        buildPdfFromTiles(tiles, job_.pageWidth, job_.pageHeight, 0, -1, L"AUTO", &reason, marks);
    if (!pdf)
        return {ConversionOutcome::Kind::failed, reason};
    pdf->setTitle(job_.bookTitle);
    pdf->setSubject(job_.subject);
    if (job_.author != kAnonymousAuthor)
        pdf->setAuthor(job_.author);
    if (stopRequested())
        return {ConversionOutcome::Kind::stopped, L""};
    if (!pdf->save(job_.outputPath))
        return {ConversionOutcome::Kind::failed,
                L"The file cannot be written: " + platform::system::writeFailureText(errno) + L"."};
    return {ConversionOutcome::Kind::saved, L""};
}

}  // namespace addon
