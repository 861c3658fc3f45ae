#include "addon/export/capture/page_capture.h"

#include <algorithm>
#include <cmath>

#include "addon/export/capture/image_files.h"
#include "addon/export/capture/page_painter.h"
#include "platform/dom/style/inline_style.h"
#include "platform/dom/window.h"

namespace addon {

namespace {

namespace dom = platform::dom;
namespace imaging = platform::imaging;

constexpr std::uint32_t kWhite = 0xFFFFFFFF;

int toPixels(int length, double scale) {
    return static_cast<int>(std::lround(length * scale));
}

// A rectangle of the page in the pixels of its picture at `scale`.
dom::Rect toPixels(const dom::Rect& rect, double scale) {
    return {toPixels(rect.left, scale), toPixels(rect.top, scale), toPixels(rect.right, scale),
            toPixels(rect.bottom, scale)};
}

}  // namespace

PageRendering::PageRendering(dom::Document& page, int layoutWidth, int widestLayout) {
    const auto body = page.body();
    const auto root = page.documentElement();
    if (!body || !root)
        return;
    dom::Window& window = page.parentWindow();
    viewport_ = window.viewport();
    scroll_ = window.scrollPosition();
    for (const auto& element : {body, root}) {
        saved_.push_back({element, element->getAttribute(L"style")});
        dom::Style style = element->style();
        style.setAttribute(L"border-style", L"none");
        style.setAttribute(L"overflow", L"hidden");
    }
    const auto measure = [&] {
        full_ = {std::min(std::max(body->scrollWidth(), root->scrollWidth()), kCaptureMaxWidth),
                 std::max(body->scrollHeight(), root->scrollHeight())};
    };
    layoutWidth = std::clamp(layoutWidth, 1, kCaptureMaxWidth);
    window.resizeTo(layoutWidth, kCaptureLayoutHeight);
    // A page shown before its pictures arrived is captured with those that come in time.
    page.settleLayout();
    measure();
    // Laid out again as it is painted: its text flows as wide as the page is, or as
    // `widestLayout` allows; the sizes are taken again for that layout. Laid out narrower
    // than the page, the part beyond the window must still be painted, not hidden. The
    // window keeps the capture's height, as a browser's print keeps its page's: the slices are
    // painted from the page's own coordinates, and what is as tall as the window (a frame of
    // height 100% without a doctype) stays one window tall instead of growing with it.
    const int paintWidth =
        std::clamp(full_.width, layoutWidth, std::max(layoutWidth, widestLayout));
    if (paintWidth < full_.width) {
        body->style().setAttribute(L"overflow", L"visible");
        root->style().setAttribute(L"overflow", L"visible");
    }
    window.resizeTo(paintWidth, kCaptureLayoutHeight);
    measure();
    window.scrollTo(0, 0);
    ready_ = true;
}

imaging::Bitmap PageRendering::renderSlice(dom::Document& page, int top, int height, double scale) {
    page.parentWindow().scrollTo(0, top);
    return paintPage(page, {0, top, full_.width, top + height}, scale);
}

void PageRendering::restore(dom::Document& page) {
    if (!ready_)
        return;
    ready_ = false;
    for (const SavedStyle& saved : saved_) {
        if (saved.styleAttribute) {
            saved.element->setAttribute(L"style", *saved.styleAttribute);
        } else {
            saved.element->removeAttribute(L"style");
        }
    }
    saved_.clear();
    dom::Window& window = page.parentWindow();
    window.resizeTo(viewport_.width, viewport_.height);
    window.scrollTo(scroll_.x, scroll_.y);
}

namespace {

// The parts of the slice that its tile shows, in slice coordinates, from the top: the whole
// slice without rectangles, else the part of every rectangle that meets it.
std::vector<imaging::Rect> readablePieces(int width, int height, int sliceTop,
                                          const std::vector<dom::Rect>& rectangles) {
    if (rectangles.empty())
        return {{0, 0, width, height}};
    std::vector<imaging::Rect> pieces;
    for (const dom::Rect& r : rectangles) {
        if (r.top > sliceTop + height || r.bottom < sliceTop)
            continue;
        const imaging::Rect piece{std::max(r.left, 0), std::max(r.top - sliceTop, 0),
                                  std::min(width, r.right), std::min(height, r.bottom - sliceTop)};
        // A rectangle that only touches the slice's edge leaves nothing to show.
        if (!piece.empty())
            pieces.push_back(piece);
    }
    return pieces;
}

// The parts of a box (slice coordinates) that the pieces show, moved to where the pieces
// land in the tiles: each piece at the left edge, under the one before, the tile's first
// row at `tileTop`.
template <typename Emit>
void placeInPieces(const dom::Rect& box, const std::vector<imaging::Rect>& pieces, int tileTop,
                   Emit&& emit) {
    int y = tileTop;
    for (const imaging::Rect& piece : pieces) {
        const dom::Rect part{std::max(box.left, piece.left), std::max(box.top, piece.top),
                             std::min(box.right, piece.right), std::min(box.bottom, piece.bottom)};
        if (!part.isEmpty())
            emit(part.translated(-piece.left, y - piece.top));
        y += piece.height();
    }
}

// The page's links and pictures (in the pixels of the painted page) as the tiles show them.
class MarkPlacement {
  public:
    MarkPlacement(std::vector<PageLink> links, std::vector<dom::Rect> pictures)
        : links_(std::move(links)), pictures_(std::move(pictures)), lastPart_(pictures_.size()) {}

    void place(const std::vector<imaging::Rect>& pieces, int sliceTop, int tileTop,
               TileMarks& marks) {
        for (const PageLink& link : links_)
            placeInPieces(link.box.translated(0, -sliceTop), pieces, tileTop,
                          [&](const dom::Rect& part) {
                              marks.links.push_back({link.address, part});
                          });
        for (std::size_t i = 0; i < pictures_.size(); ++i)
            placeInPieces(pictures_[i].translated(0, -sliceTop), pieces, tileTop,
                          [&](const dom::Rect& part) { addPicturePart(i, part, marks); });
    }

  private:
    // A picture that two slices share comes as two parts, one right under the other: they
    // are one picture again, so that a page break keeps it whole.
    void addPicturePart(std::size_t picture, const dom::Rect& part, TileMarks& marks) {
        if (auto& last = lastPart_[picture]) {
            dom::Rect& previous = marks.pictures[*last];
            if (previous.bottom == part.top && previous.left == part.left &&
                previous.right == part.right) {
                previous.bottom = part.bottom;
                return;
            }
        }
        lastPart_[picture] = marks.pictures.size();
        marks.pictures.push_back(part);
    }

    const std::vector<PageLink> links_;
    const std::vector<dom::Rect> pictures_;
    std::vector<std::optional<std::size_t>> lastPart_;
};

// How wide the tiles come out at scale 1: the page's width, or its widest readable part.
int tileWidth(int pageWidth, const std::vector<dom::Rect>& rectangles) {
    if (rectangles.empty())
        return pageWidth;
    int widest = 0;
    for (const dom::Rect& r : rectangles)
        widest = std::max(widest, std::min(pageWidth, r.right) - std::max(0, r.left));
    return widest;
}

}  // namespace

std::optional<imaging::Bitmap> cutReadableTile(const imaging::Bitmap& slice, int sliceTop,
                                               const std::vector<dom::Rect>& rectangles) {
    if (rectangles.empty())
        return slice;
    const std::vector<imaging::Rect> pieces =
        readablePieces(slice.width(), slice.height(), sliceTop, rectangles);
    if (pieces.empty())
        return std::nullopt;
    int tileWidth = 0;
    int tileHeight = 0;
    for (const imaging::Rect& piece : pieces) {
        tileWidth = std::max(tileWidth, piece.width());
        tileHeight += piece.height();
    }
    imaging::Bitmap tile(tileWidth, tileHeight, imaging::PixelFormat::Rgb24);
    tile.fill(kWhite);
    int y = 0;
    for (const imaging::Rect& piece : pieces) {
        tile.drawBitmap(slice, piece, 0, y);
        y += piece.height();
    }
    return tile;
}

std::vector<std::wstring> captureReadableTiles(PageAccess& page, const std::wstring& elementName,
                                               const std::wstring& prefix, const TileCapture& how,
                                               TileMarks* marks) {
    // Painted at the smallest scale, a page laid out this wide just fits: a page wider
    // still keeps its text to this width.
    int widestLayout = kCaptureMaxWidth;
    if (how.fitWidth > 0 && how.smallestScale > 0)
        widestLayout =
            static_cast<int>(std::min<double>(how.fitWidth / how.smallestScale, kCaptureMaxWidth));
    std::unique_ptr<PageRendering> rendering;
    std::vector<dom::Rect> rectangles;
    std::vector<PageLink> pageLinks;
    std::vector<dom::Rect> pagePictures;
    const bool started = page.run([&](dom::Document& document) {
        rendering = std::make_unique<PageRendering>(document, how.layoutWidth, widestLayout);
        for (const auto& element : document.getElementsByName(elementName))
            rectangles.push_back(document.boxOf(*element).value_or(dom::Rect{}));
        // Laid out as the capture paints the page.
        if (marks && rendering->ready()) {
            pageLinks = documentLinks(document);
            pagePictures = documentPictures(document);
        }
    });
    std::vector<std::wstring> files;
    if (!started || !rendering->ready() || !(how.scale > 0))
        return files;

    const dom::Size full = rendering->fullSize();
    double scale = how.scale;
    const int width = tileWidth(full.width, rectangles);
    if (how.fitWidth > 0 && width > 0 && scaledLength(width, scale) > how.fitWidth)
        scale =
            std::min(scale, std::max(static_cast<double>(how.fitWidth) / width, how.smallestScale));
    // Rectangles, links and pictures in the pixels of the painted page.
    for (dom::Rect& rectangle : rectangles)
        rectangle = toPixels(rectangle, scale);
    for (PageLink& link : pageLinks)
        link.box = toPixels(link.box, scale);
    for (dom::Rect& picture : pagePictures)
        picture = toPixels(picture, scale);
    MarkPlacement placement(std::move(pageLinks), std::move(pagePictures));

    const long long paintedWidth = std::max(1, scaledLength(full.width, scale));
    const double rowsInBudget = static_cast<double>(kCaptureTilePixels / paintedWidth);
    const int sliceRows =
        std::max(1, static_cast<int>(std::min<double>(kCaptureSliceHeight, rowsInBudget) / scale));
    int number = 0;
    int tileTop = 0;
    for (int top = 0; top < full.height; top += sliceRows) {
        const int height = std::min(full.height - top, sliceRows);
        imaging::Bitmap slice;
        if (!page.run([&](dom::Document& document) {
                slice = rendering->renderSlice(document, top, height, scale);
            }))
            break;
        const std::wstring file = tileFileName(prefix, ++number);
        const int sliceTop = toPixels(top, scale);
        const auto tile = cutReadableTile(slice, sliceTop, rectangles);
        if (!tile || saveBitmapByExtension(*tile, file) != 0)
            continue;
        files.push_back(file);
        if (marks)
            placement.place(readablePieces(slice.width(), slice.height(), sliceTop, rectangles),
                            sliceTop, tileTop, *marks);
        tileTop += tile->height();
    }
    page.run([&](dom::Document& document) { rendering->restore(document); }, true);
    return files;
}

imaging::Bitmap capturePageBitmap(dom::Document& page) {
    PageRendering rendering(page);
    if (!rendering.ready())
        return {};
    const dom::Size full = rendering.fullSize();
    imaging::Bitmap picture;
    try {
        picture = imaging::Bitmap(full.width, full.height, imaging::PixelFormat::Rgb24);
        for (int top = 0; top < full.height; top += kCaptureSliceHeight) {
            const int height = std::min(full.height - top, kCaptureSliceHeight);
            picture.drawBitmap(rendering.renderSlice(page, top, height), {0, 0, full.width, height},
                               0, top);
        }
    } catch (const std::exception&) {
        // Too large for memory (or for a bitmap's size limit): no picture.
        picture = {};
    }
    rendering.restore(page);
    return picture;
}

}  // namespace addon
