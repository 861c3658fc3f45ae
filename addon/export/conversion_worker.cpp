#include "addon/export/conversion_worker.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <random>

#include "addon/export/page_capture.h"
#include "addon/export/tiles_to_pdf.h"
#include "platform/system/write_failure.h"
#include "platform/text/utf.h"

namespace addon {

namespace {

// A new folder named by a random decimal number in the temporary folder, made by this
// call alone (never one that existed before); "" when none could be made.
std::filesystem::path makeTileFolder() {
    std::error_code error;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    if (error)
        return {};
    std::random_device seed;
    std::mt19937 numbers(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path folder = temporary / std::to_string(numbers() % 1000000000u);
        if (::mkdir(folder.c_str(), 0700) == 0)
            return folder;
        if (errno != EEXIST)
            return {};
    }
    return {};
}

}  // namespace

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
    const std::filesystem::path folder = makeTileFolder();
    if (folder.empty())
        return {ConversionOutcome::Kind::failed, L"No temporary folder for the pictures."};
    // The folder is this worker's own: everything in it goes, listed tiles or not, however
    // the conversion ends.
    struct FolderRemoval {
        const std::filesystem::path& folder;
        ~FolderRemoval() {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        }
    } removal{folder};

    ProxiedPageAccess page(job_.page, [this] { return stopRequested(); });
    // Laid out at the device's width; what is still wider is painted smaller to fit.
    TileCapture how;
    how.layoutWidth = job_.pageWidth;
    how.fitWidth = job_.pageWidth;
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
