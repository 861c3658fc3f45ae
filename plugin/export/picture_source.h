// Reading the pictures of an e-book: from files (file:, only for a clip of a page loaded
// from a file), from the markup itself (data:) and from the web (http, https, through the
// HTTP client), each within a size limit.
//
// Contract: blocking; thread-safe. Network reads have time limits and end early when the
// control block is cancelled. Nothing throws but std::bad_alloc.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "plugin/export/export_codes.h"

namespace plugin {

inline constexpr std::size_t kMaxPictureBytes = 16u << 20;

// A picture kind that EPUB 2 reading systems must show.
struct PictureKind {
    std::string_view mediaType;  // "image/jpeg", "image/png", "image/gif", "image/svg+xml"
    std::string_view extension;  // "jpg", "png", "gif", "svg"
};

// The kind of the bytes (the bytes, not the name or a server's claim, decide): the raster
// kinds by their signature, SVG when the bytes are an SVG document without scripts, event
// attributes, script addresses, foreign content or a document type (no entities); nullopt
// for anything else.
std::optional<PictureKind> pictureKind(std::string_view bytes);

// `reference` (as written in the markup) made absolute against `base` (the clip's page).
// "" when it cannot be (a relative reference without a base, or malformed).
std::string absolutePictureUrl(std::string_view reference, std::string_view base);

// The picture reads of one export. Every download takes from one time budget (the control
// block's pictureBudget, kPictureFetchBudget without one), so however many pictures an
// export has, their downloads end within it; files and data: addresses are always read.
class PictureReader {
  public:
    explicit PictureReader(ExportControl* control);

    // The bytes at `url` (absolute: file:, data:, http: or https:) for a clip of the page at
    // `pageAddress`, at most kMaxPictureBytes; nullopt when they cannot be had, the budget
    // is spent or the export is cancelled.
    std::optional<std::string> read(const std::string& url, const std::string& pageAddress);

  private:
    ExportControl* control_;
    std::chrono::milliseconds budgetLeft_;
};

}  // namespace plugin
