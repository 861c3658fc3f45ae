#include "addon/export/page_painter.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string>

#include "addon/export/css_colour.h"
#include "common/util/url_text.h"
#include "platform/dom/cascade.h"
#include "platform/dom/css_values.h"
#include "platform/dom/layout_engine.h"
#include "platform/imaging/canvas.h"
#include "platform/imaging/image_codecs.h"
#include "platform/text/utf.h"

namespace addon {

namespace {

namespace dom = platform::dom;
namespace imaging = platform::imaging;
using dom::PropertyId;

constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kBlack = 0xFF000000;
constexpr std::uint32_t kPlaceholderFill = 0xFFE8E8E8;
constexpr std::uint32_t kPlaceholderFrame = 0xFF9A9A9A;
constexpr int kRootFontPixels = dom::kPixelsPerEm;
// DejaVu Sans at this share of the line's height fits a line with its descenders.
constexpr int kFontShareOfLine = 13;
constexpr int kFontShareBase = 16;

bool isOpaque(std::uint32_t argb) {
    return (argb >> 24) != 0;
}

bool isBold(const std::wstring& weight) {
    if (weight == L"bold" || weight == L"bolder")
        return true;
    return std::wcstol(weight.c_str(), nullptr, 10) >= 600;
}

// The local file an "IMG" source names: an absolute path or a file: URL, resolved against
// the page's own file: address when relative; "" for anything else.
std::string localPictureFile(const std::wstring& source, const std::wstring& pageUrl) {
    constexpr std::wstring_view kFileScheme = L"file://";
    std::wstring path;
    if (source.starts_with(kFileScheme))
        path = source.substr(kFileScheme.size());
    else if (source.starts_with(L"/"))
        path = source;
    else if (source.find(L':') == std::wstring::npos && pageUrl.starts_with(kFileScheme))
        path = pageUrl.substr(kFileScheme.size(), pageUrl.rfind(L'/') + 1 - kFileScheme.size()) +
               source;
    if (path.empty() || !path.starts_with(L"/"))
        return {};
    return platform::text::toUtf8(common::urlUnescape(path));
}

// `picture` stretched to `width` by `height` (nearest pixel).
imaging::Bitmap scaled(const imaging::Bitmap& picture, int width, int height) {
    imaging::Bitmap result(width, height, imaging::PixelFormat::Argb32);
    for (int y = 0; y < height; ++y) {
        const int sourceY = static_cast<int>(static_cast<long long>(y) * picture.height() / height);
        for (int x = 0; x < width; ++x) {
            const int sourceX =
                static_cast<int>(static_cast<long long>(x) * picture.width() / width);
            result.setPixel(x, y, picture.pixel(sourceX, sourceY));
        }
    }
    return result;
}

class PagePainter {
  public:
    PagePainter(const dom::Document& page, dom::Rect area)
        : page_(page),
          layout_(page.layout()),
          area_(area),
          canvas_(area.width(), area.height(), pageBackground(page)) {}

    imaging::Bitmap paint() {
        if (const auto root = page_.documentElement())
            paintElement(*root, kRootFontPixels);
        imaging::Bitmap picture(canvas_.width(), canvas_.height(), imaging::PixelFormat::Rgb24);
        picture.drawBitmap(canvas_.bitmap(), {0, 0, canvas_.width(), canvas_.height()}, 0, 0);
        return picture;
    }

  private:
    static std::uint32_t colourOf(const dom::ComputedStyle& style, PropertyId id,
                                  std::uint32_t fallback) {
        return parseCssColour(style.value(id)).value_or(fallback);
    }

    // The root's background colour, else the body's, covers the whole page.
    static std::uint32_t pageBackground(const dom::Document& page) {
        for (const auto& element : {page.documentElement(), page.body()}) {
            if (!element)
                continue;
            const auto style = element->currentStyle();
            const std::uint32_t colour = colourOf(*style, PropertyId::BackgroundColor, 0);
            if (isOpaque(colour))
                return colour;
        }
        return kWhite;
    }

    // Page coordinates to the canvas's.
    imaging::Rect onCanvas(const dom::Rect& rect) const {
        return {rect.left - area_.left, rect.top - area_.top, rect.right - area_.left,
                rect.bottom - area_.top};
    }

    bool meetsArea(const dom::Rect& rect) const {
        return rect.right > area_.left && rect.left < area_.right && rect.bottom > area_.top &&
               rect.top < area_.bottom;
    }

    void paintElement(const dom::Element& element, int parentFontPixels) {
        const auto box = page_.boxOf(element);
        if (!box)
            return;  // not displayed, nor anything inside it
        const auto style = element.currentStyle();
        const int fontPixels = std::max(1, dom::toPixels(style->value(PropertyId::FontSize),
                                                         parentFontPixels, parentFontPixels));
        const bool visible = style->value(PropertyId::Visibility) != L"hidden";
        if (visible && meetsArea(*box)) {
            paintBox(element, *style, *box);
            if (element.hasTag(L"IMG"))
                paintPicture(element, *box);
        }
        for (const auto& child : element.childNodes()) {
            if (child->nodeType() == dom::NodeType::Element)
                paintElement(static_cast<const dom::Element&>(*child), fontPixels);
            else if (child->nodeType() == dom::NodeType::Text && visible)
                paintText(static_cast<const dom::Text&>(*child), *style, fontPixels);
        }
    }

    void paintBox(const dom::Element& element, const dom::ComputedStyle& style,
                  const dom::Rect& box) {
        const std::uint32_t background = colourOf(style, PropertyId::BackgroundColor, 0);
        // The root's and the body's colour already fill the page.
        const bool pageElement = element.hasTag(L"HTML") || element.hasTag(L"BODY");
        if (isOpaque(background) && !pageElement)
            canvas_.fillRect(onCanvas(box), background);

        const std::uint32_t text = colourOf(style, PropertyId::Color, kBlack);
        const int top = dom::borderPixels(style, dom::BoxSide::Top);
        const int right = dom::borderPixels(style, dom::BoxSide::Right);
        const int bottom = dom::borderPixels(style, dom::BoxSide::Bottom);
        const int left = dom::borderPixels(style, dom::BoxSide::Left);
        const imaging::Rect outer = onCanvas(box);
        const auto side = [&](PropertyId colour, int width, imaging::Rect strip) {
            const std::uint32_t argb = colourOf(style, colour, text);
            if (width > 0 && isOpaque(argb))
                canvas_.fillRect(strip, argb);
        };
        side(PropertyId::BorderTopColor, top,
             {outer.left, outer.top, outer.right, outer.top + top});
        side(PropertyId::BorderBottomColor, bottom,
             {outer.left, outer.bottom - bottom, outer.right, outer.bottom});
        side(PropertyId::BorderLeftColor, left,
             {outer.left, outer.top, outer.left + left, outer.bottom});
        side(PropertyId::BorderRightColor, right,
             {outer.right - right, outer.top, outer.right, outer.bottom});
    }

    void paintPicture(const dom::Element& element, const dom::Rect& box) {
        const imaging::Rect target = onCanvas(box);
        if (target.empty())
            return;
        const std::string file =
            localPictureFile(element.getAttribute(L"src").value_or(L""), page_.URL());
        imaging::Bitmap picture;
        if (!file.empty() && imaging::loadBitmap(file, picture) == imaging::Status::Ok &&
            !picture.empty()) {
            canvas_.drawPicture(scaled(picture, target.width(), target.height()), target.left,
                                target.top);
            return;
        }
        canvas_.fillRect(target, kPlaceholderFill);
        canvas_.frameRect(target, kPlaceholderFrame);
    }

    void paintText(const dom::Text& text, const dom::ComputedStyle& style, int fontPixels) {
        const std::wstring& characters = text.data();
        const std::uint32_t colour = colourOf(style, PropertyId::Color, kBlack);
        const bool bold = isBold(style.value(PropertyId::FontWeight));
        for (std::size_t index = 0; index < characters.size(); ++index) {
            const wchar_t character = characters[index];
            if (character == L' ' || character == L'\t' || character == L'\n' || character == L'\r')
                continue;
            const auto cells = layout_.textRects(text, index, index + 1);
            if (cells.empty() || !meetsArea(cells.front()))
                continue;
            const imaging::Rect cell = onCanvas(cells.front());
            const int pixels =
                std::min(fontPixels, cell.height()) * kFontShareOfLine / kFontShareBase;
            const imaging::FontFace& font = fontFor(bold, std::max(pixels, 1));
            const int advance = font.textWidth(std::u32string(1, character));
            // Each character stays centred in its cell, so the text lines up with the layout.
            const int left = cell.left + (cell.width() - advance) / 2;
            canvas_.drawText(std::wstring_view(&character, 1),
                             {left, cell.top, left + std::max(advance, cell.width()), cell.bottom},
                             font, colour, imaging::DT_SINGLELINE | imaging::DT_VCENTER);
        }
    }

    const imaging::FontFace& fontFor(bool bold, int pixels) {
        auto& face = fonts_[{bold, pixels}];
        if (!face)
            face = std::make_unique<imaging::FontFace>(
                bold ? imaging::FontFace::kSansBoldFile : imaging::FontFace::kSansFile, pixels);
        return *face;
    }

    const dom::Document& page_;
    const dom::LayoutEngine& layout_;
    dom::Rect area_;
    imaging::Canvas canvas_;
    std::map<std::pair<bool, int>, std::unique_ptr<imaging::FontFace>> fonts_;
};

}  // namespace

imaging::Bitmap paintPage(const dom::Document& page, dom::Rect area) {
    if (area.isEmpty())
        return {};
    return PagePainter(page, area).paint();
}

}  // namespace addon
