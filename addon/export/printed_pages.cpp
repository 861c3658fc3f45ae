#include "addon/export/printed_pages.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "addon/export/capture/page_access.h"
#include "addon/export/capture/page_capture.h"
#include "addon/export/capture/page_painter.h"
#include "addon/export/paging/tiles_to_pdf.h"
#include "platform/system/temporary_files.h"
#include "platform/system/write_failure.h"

namespace addon {
namespace {

constexpr double kPointsPerPixel = 72.0 / kPrintDpi;

int printablePixels(double sheetPoints) {
    return static_cast<int>((sheetPoints - 2 * kSheetMarginPoints) / kPointsPerPixel);
}

}  // namespace

double printScale(int cssWidth) {
    const double full = kPrintDpi / kCssPixelsPerInch;
    if (cssWidth <= 0)
        return full;
    return std::min(full, static_cast<double>(printablePixels(kSheetWidthPoints)) / cssWidth);
}

bool writePrintedPages(platform::dom::Document& page, const std::wstring& title,
                       const std::wstring& pdfPath, std::wstring& reason) {
    const platform::system::TemporaryFolder temporary;
    const std::filesystem::path scratch = temporary.path();
    if (scratch.empty()) {
        reason = L"no temporary folder for the printed pages";
        return false;
    }
    int width = 0;
    {
        PageRendering rendering(page);
        width = rendering.ready() ? rendering.fullSize().width : 0;
        rendering.restore(page);
    }
    if (width <= 0) {
        reason = L"the page has no width";
        return false;
    }
    const double scale = printScale(width);
    DirectPageAccess access(page);
    // No element carries this name, so every slice is kept whole.
    TileCapture how;
    how.scale = scale;
    TileMarks marks;
    const std::vector<std::wstring> tiles =
        captureReadableTiles(access, L"", (scratch / "sheet").wstring(), how, &marks);
    if (tiles.empty()) {
        reason = L"the page could not be painted";
        return false;
    }
    const int pixelWidth = scaledLength(width, scale);
    SheetGeometry sheet;
    sheet.pointsPerPixel = kPointsPerPixel;
    sheet.width = kSheetWidthPoints;
    sheet.height = kSheetHeightPoints;
    sheet.left = (kSheetWidthPoints - pixelWidth * kPointsPerPixel) / 2;
    sheet.top = kSheetMarginPoints;
    auto pdf = buildPdfFromTiles(tiles, pixelWidth, printablePixels(kSheetHeightPoints), 0, -1,
                                 L"AUTO", &reason, marks, sheet);
    if (!pdf) {
        return false;
    }
    pdf->setTitle(title);
    if (!pdf->save(pdfPath)) {
        reason = L"cannot write \"" + pdfPath + L"\": " + platform::system::writeFailureText(errno);
        return false;
    }
    return true;
}

}  // namespace addon
