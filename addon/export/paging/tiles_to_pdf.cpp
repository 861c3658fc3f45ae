#include "addon/export/paging/tiles_to_pdf.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>

#include "addon/export/paging/page_breaks.h"
#include "platform/imaging/codecs/image_codecs.h"
#include "platform/text/utf.h"

namespace addon {

namespace {

using platform::imaging::Bitmap;
using platform::imaging::PixelFormat;
using platform::imaging::Rect;

constexpr int kLastPossiblePage = 65535;
// PDF 1.4 readers take pages of at most 14400 units (200 inches) a side.
constexpr int kLargestPageSide = 14400;
constexpr double kHairlineTone = 0.99;

std::mutex& conversionLock() {
    static std::mutex lock;
    return lock;
}

bool fail(std::wstring* reason, const std::wstring& text) {
    if (reason != nullptr) {
        *reason = text;
    }
    return false;
}

bool loadTile(const std::wstring& path, Bitmap& bitmap, std::wstring* reason) {
    if (platform::imaging::loadBitmap(platform::text::toUtf8(path), bitmap) !=
        platform::imaging::Status::Ok) {
        return fail(reason, L"cannot read the picture " + path);
    }
    return true;
}

// A difference of tone a reader's screen does not show: a page of nothing but such
// pixels (a hairline a shade off white) shows nothing.
constexpr int kUnseenTone = 16;

// Whether the part of the bitmap shows anything: a pixel whose colour differs from its
// first pixel's by more than kUnseenTone in a channel.
bool showsAnything(const Bitmap& bitmap, const Rect& part) {
    const std::vector<std::uint8_t> pixels = bitmap.copyRgb24(part);
    for (std::size_t i = 3; i < pixels.size(); ++i)
        if (std::abs(pixels[i] - pixels[i % 3]) > kUnseenTone)
            return true;
    return false;
}

// The slice on top of the next tile, in a new bitmap as wide as the wider of the two.
// The part that neither covers is white, as the page around the pictures is.
Bitmap stack(const Bitmap& tile, const Rect& slice, const Bitmap& next) {
    const Rect top = tile.clampRect(slice);
    Bitmap joined(std::max(top.width(), next.width()), top.height() + next.height(),
                  PixelFormat::Argb32);
    joined.fill(0xFFFFFFFF);
    joined.drawBitmap(tile, top, 0, 0);
    joined.drawBitmap(next, {0, 0, next.width(), next.height()}, 0, top.height());
    return joined;
}

class Conversion {
  public:
    Conversion(int pageWidth, int pageHeight, int firstPage, int lastPage, std::wstring_view mode,
               const TileMarks& marks, const SheetGeometry& sheet)
        : links_(marks.links),
          pictures_(marks.pictures),
          sheet_(sheet),
          pageWidth_(pageWidth),
          pageHeight_(pageHeight),
          firstPage_(firstPage),
          lastPage_(lastPage),
          mode_(mode),
          pdf_(std::make_unique<PDFWriter::PDF>()) {
        const double width = sheet_.width;
        const double height = sheet_.height;
        lines_[0] = {0, 0, width - 1.0, 0};
        lines_[1] = {0, height - 1.0, width - 1.0, height - 1.0};
        for (PDFWriter::PdfLine& line : lines_) {
            line.red = line.green = line.blue = kHairlineTone;
            line.width = 1;
        }
    }

    bool run(const std::vector<std::wstring>& tiles, std::wstring* reason) {
        Bitmap last;
        const std::size_t count = tilesShowing(tiles, last, reason);
        if (count == 0) {
            return false;
        }
        Bitmap tile;
        if (count == 1) {
            tile = std::move(last);
        } else if (!loadTile(tiles[0], tile, reason)) {
            return false;
        }
        for (std::size_t index = 0; index < count && pageCounter_ <= lastPage_; ++index) {
            const std::vector<Rect> slices = slicesOf(tile);
            Bitmap next;
            const bool more = index + 1 < count;
            if (more && index + 2 == count) {
                next = std::move(last);
            } else if (more && !loadTile(tiles[index + 1], next, reason)) {
                return false;
            }
            int nextTop = tileTop_ + tile.height();
            for (std::size_t i = 0; i < slices.size(); ++i) {
                if (i + 1 == slices.size() && more) {
                    nextTop = tileTop_ + tile.clampRect(slices[i]).top;
                    next = stack(tile, slices[i], next);
                } else {
                    addPages(tile, slices[i]);
                }
            }
            tile = std::move(next);
            tileTop_ = nextTop;
        }
        if (pdf_->pages().empty()) {
            return fail(reason, L"the tiles give no page in the range asked for");
        }
        return true;
    }

    std::unique_ptr<PDFWriter::PDF> takeDocument() { return std::move(pdf_); }

  private:
    // How many of the tiles show anything, with the last of them in `last`, cut after its
    // last row that shows anything. Tiles that show nothing at all are all kept (one blank
    // page or more, rather than none). 0 when a tile cannot be read.
    static std::size_t tilesShowing(const std::vector<std::wstring>& tiles, Bitmap& last,
                                    std::wstring* reason) {
        for (std::size_t count = tiles.size(); count > 0; --count) {
            Bitmap tile;
            if (!loadTile(tiles[count - 1], tile, reason)) {
                return 0;
            }
            const int rows = contentHeight(tile);
            if (rows == tile.height()) {
                last = std::move(tile);
                return count;
            }
            if (rows > 0) {
                last = Bitmap(tile.width(), rows, tile.format());
                last.drawBitmap(tile, {0, 0, tile.width(), rows}, 0, 0);
                return count;
            }
        }
        return loadTile(tiles.back(), last, reason) ? tiles.size() : 0;
    }

    // The tile's rows cut into pages, each slice over the tile's whole width.
    std::vector<Rect> slicesOf(const Bitmap& tile) const {
        const int width = std::max(pageWidth_, tile.width());
        if (tile.height() > pageHeight_) {
            std::vector<RowSpan> pictures;
            for (const platform::dom::Rect& picture : pictures_) {
                pictures.push_back({picture.top - tileTop_, picture.bottom - tileTop_});
            }
            return findPageBreaks(tile, width, pageHeight_, pictures);
        }
        return {{0, 0, width, tile.height()}};
    }

    // The slice's rows cut into parts at most a page wide (findColumnCut), each a page of
    // its own, one after the other, when it shows anything; when none does, the first
    // part still makes its page. A slice without pixels (an empty picture) makes no page.
    void addPages(const Bitmap& tile, const Rect& slice) {
        const Rect rows = tile.clampRect(slice);
        if (rows.empty())
            return;
        std::vector<Rect> parts;
        for (int left = rows.left; left < rows.right;) {
            const int right = findColumnCut(tile, rows, left, pageWidth_);
            const Rect part{left, rows.top, right, rows.bottom};
            if (showsAnything(tile, part))
                parts.push_back(part);
            left = right;
        }
        if (parts.empty())
            parts.push_back({rows.left, rows.top, findColumnCut(tile, rows, rows.left, pageWidth_),
                             rows.bottom});
        for (const Rect& part : parts)
            addPage(tile, part);
    }

    void addPage(const Bitmap& tile, const Rect& shown) {
        if (pageCounter_ >= firstPage_ && pageCounter_ <= lastPage_) {
            PDFWriter::PdfImage& image = pdf_->addImage(tile, shown, mode_);
            image.x = sheet_.left;
            image.y = sheet_.top;
            image.width = shown.width() * sheet_.pointsPerPixel;
            image.height = shown.height() * sheet_.pointsPerPixel;
            PDFWriter::Page& page = pdf_->addPage(sheet_.width, sheet_.height);
            page.drawImage(image);
            for (const PDFWriter::PdfLine& line : lines_) {
                page.drawLine(line);
            }
            addLinks(page, shown);
        }
        ++pageCounter_;
    }

    // The links' parts that the slice shows; the slice's picture sits at the page's corner.
    void addLinks(PDFWriter::Page& page, const Rect& shown) const {
        const int top = tileTop_ + shown.top;
        for (const PageLink& link : links_) {
            const platform::dom::Rect& box = link.box;
            if (box.bottom <= top || box.top >= top + shown.height() || box.right <= shown.left ||
                box.left >= shown.right)
                continue;
            const auto x = [&](int pixels) {
                return sheet_.left + (pixels - shown.left) * sheet_.pointsPerPixel;
            };
            const auto y = [&](int pixels) {
                return sheet_.top + (pixels - top) * sheet_.pointsPerPixel;
            };
            page.addLink(link.address, x(std::max(box.left, shown.left)), y(std::max(box.top, top)),
                         x(std::min(box.right, shown.right)),
                         y(std::min(box.bottom, top + shown.height())));
        }
    }

    const std::vector<PageLink>& links_;
    const std::vector<platform::dom::Rect>& pictures_;
    const SheetGeometry sheet_;
    const int pageWidth_;
    const int pageHeight_;
    const int firstPage_;
    const int lastPage_;
    const std::wstring mode_;
    std::unique_ptr<PDFWriter::PDF> pdf_;
    PDFWriter::PdfLine lines_[2];
    int pageCounter_ = 0;
    // The row of the tiles placed one under the other where the current tile begins.
    int tileTop_ = 0;
};

}  // namespace

std::unique_ptr<PDFWriter::PDF> buildPdfFromTiles(const std::vector<std::wstring>& tiles,
                                                  int pageWidth, int pageHeight, int firstPage,
                                                  int lastPage, std::wstring_view mode,
                                                  std::wstring* reason, const TileMarks& marks,
                                                  const SheetGeometry& sheet) {
    if (lastPage < 0) {
        lastPage = kLastPossiblePage;
    }
    if (tiles.empty()) {
        fail(reason, L"there are no pictures to convert");
        return nullptr;
    }
    if (pageWidth <= 0 || pageHeight <= 0) {
        fail(reason, L"the page size is not positive");
        return nullptr;
    }
    SheetGeometry placed = sheet;
    if (placed.width <= 0)
        placed.width = pageWidth * placed.pointsPerPixel;
    if (placed.height <= 0)
        placed.height = pageHeight * placed.pointsPerPixel;
    if (!(placed.pointsPerPixel > 0)) {
        fail(reason, L"the pictures' resolution is not positive");
        return nullptr;
    }
    if (placed.width > kLargestPageSide || placed.height > kLargestPageSide) {
        fail(reason, L"the page size is beyond the 14400 units a PDF page may have");
        return nullptr;
    }
    if (lastPage < firstPage) {
        fail(reason, L"the last page comes before the first page");
        return nullptr;
    }
    const std::scoped_lock oneConversionAtATime(conversionLock());
    Conversion conversion(pageWidth, pageHeight, firstPage, lastPage, mode, marks, placed);
    if (!conversion.run(tiles, reason)) {
        return nullptr;
    }
    return conversion.takeDocument();
}

}  // namespace addon
