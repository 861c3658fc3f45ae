#include "addon/export/capture/page_painter.h"

#include <cmath>

#include "addon/export/capture/css_colour.h"
#include "platform/dom/layout_engine.h"
#include "platform/dom/style/cascade.h"
#include "platform/imaging/canvas/canvas.h"

namespace addon {

namespace {

namespace dom = platform::dom;
namespace imaging = platform::imaging;

constexpr std::uint32_t kWhite = 0xFFFFFFFF;

// The root's background colour, else the body's, covers the whole page.
std::uint32_t pageBackground(const dom::Document& page) {
    for (const auto& element : {page.documentElement(), page.body()}) {
        if (!element)
            continue;
        const auto style = element->currentStyle();
        const std::uint32_t colour =
            parseCssColour(style->value(dom::PropertyId::BackgroundColor)).value_or(0);
        if ((colour >> 24) != 0)
            return colour;
    }
    return kWhite;
}

}  // namespace

int scaledLength(int length, double scale) {
    return static_cast<int>(std::ceil(length * scale - 1e-9));
}

imaging::Bitmap paintPage(const dom::Document& page, dom::Rect area, double scale) {
    if (area.isEmpty() || !(scale > 0))
        return {};
    imaging::Canvas canvas(scaledLength(area.width(), scale), scaledLength(area.height(), scale),
                           pageBackground(page));
    page.layout().paint(canvas, area, scale);
    imaging::Bitmap picture(canvas.width(), canvas.height(), imaging::PixelFormat::Rgb24);
    picture.drawBitmap(canvas.bitmap(), {0, 0, canvas.width(), canvas.height()}, 0, 0);
    return picture;
}

}  // namespace addon
