#include "addon/export/printed_pages.h"

#include <stdlib.h>

#include <filesystem>
#include <system_error>

#include "addon/export/page_access.h"
#include "addon/export/page_capture.h"
#include "addon/export/tiles_to_pdf.h"

namespace addon {
namespace {

// A fresh folder for the scratch pictures, removed with the object.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::error_code error;
        std::string pattern =
            (std::filesystem::temp_directory_path(error) / "tamrix-print-XXXXXX").string();
        if (!error && mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path_.empty()) {
            std::filesystem::remove_all(path_, ignored);
        }
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace

int printedSheetHeight(int width) {
    return static_cast<int>((static_cast<long long>(width) * 297 + 105) / 210);
}

bool writePrintedPages(platform::dom::Document& page, const std::wstring& title,
                       const std::wstring& pdfPath, std::wstring& reason) {
    ScratchFolder scratch;
    if (scratch.path().empty()) {
        reason = L"no temporary folder for the printed pages";
        return false;
    }
    DirectPageAccess access(page);
    // No element carries this name, so every slice is kept whole.
    const std::vector<std::wstring> tiles =
        captureReadableTiles(access, L"", (scratch.path() / "sheet").wstring());
    if (tiles.empty()) {
        reason = L"the page could not be painted";
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
    auto pdf = buildPdfFromTiles(tiles, width, printedSheetHeight(width), 0, -1, L"AUTO", &reason);
    if (!pdf) {
        return false;
    }
    pdf->setTitle(title);
    if (!pdf->save(pdfPath)) {
        reason = L"cannot write \"" + pdfPath + L"\"";
        return false;
    }
    return true;
}

}  // namespace addon
