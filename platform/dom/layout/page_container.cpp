#include "platform/dom/layout/page_container.h"

#include <cairo.h>
#include <el_image.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <cwctype>
#include <limits>

#include "platform/dom/layout/box_painting.h"
#include "platform/dom/layout/markup/inline_svg.h"
#include "platform/imaging/codecs/image_codecs.h"
#include "platform/text/html_space.h"
#include "platform/text/utf.h"

namespace platform::dom {

namespace {

// A width or height attribute that gives whole pixels ("120", "120px"), else none.
std::optional<int> pixelsOf(const std::string& value) {
    int pixels = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), pixels);
    const std::string_view rest(end, static_cast<std::size_t>(value.data() + value.size() - end));
    if (error != std::errc() || pixels <= 0 || (!rest.empty() && rest != "px"))
        return std::nullopt;
    return pixels;
}

std::uint32_t argbOf(const litehtml::web_color& color) {
    return (std::uint32_t{color.alpha} << 24) | (std::uint32_t{color.red} << 16) |
           (std::uint32_t{color.green} << 8) | color.blue;
}

BorderSide sideOf(const litehtml::border& border, int width) {
    return {border.width > 0 ? width : 0, border.style, argbOf(border.color)};
}

}  // namespace

PageContainer::PageContainer(PageResources& resources, Size viewport,
                             std::map<std::string, std::string> linkedSheets, RuleMatching matching)
    : resources_(resources),
      viewport_(viewport),
      linkedSheets_(std::move(linkedSheets)),
      matching_(matching) {}

const PageContainer::Font& PageContainer::font(litehtml::uint_ptr handle) const {
    return *fonts_.at(handle);
}

imaging::Canvas& PageContainer::canvasOf(litehtml::uint_ptr hdc) const {
    return *reinterpret_cast<imaging::Canvas*>(hdc);
}

litehtml::uint_ptr PageContainer::create_font(const litehtml::tchar_t* faceName, int size,
                                              int weight, litehtml::font_style italic,
                                              unsigned int decoration, litehtml::font_metrics* fm) {
    auto font = std::make_unique<Font>();
    font->face = std::make_unique<imaging::TextFont>(faceName ? faceName : "", std::max(size, 1),
                                                     weight, italic == litehtml::fontStyleItalic);
    font->decoration = decoration;
    if (!scriptSample_.empty())
        font->face->includeFallbackFor(scriptSample_);
    if (fm) {
        fm->ascent = font->face->ascent();
        // The line gap counts below the baseline: the engine rounds the half gap down, which
        // would leave lines holding pictures a pixel shorter than a browser's.
        fm->descent = font->face->lineHeight() - font->face->ascent();
        fm->height = font->face->lineHeight();
        fm->x_height = font->face->xHeight();
        fm->draw_spaces = decoration != litehtml::font_decoration_none;
    }
    const litehtml::uint_ptr handle = nextFont_++;
    fonts_.emplace(handle, std::move(font));
    return handle;
}

void PageContainer::delete_font(litehtml::uint_ptr hFont) {
    fonts_.erase(hFont);
}

imaging::Rect PageContainer::scaled(const litehtml::position& pos) const {
    // Each edge is scaled on its own, so boxes that touch at scale 1 still touch.
    return {scaled(pos.x), scaled(pos.y), scaled(pos.x + pos.width), scaled(pos.y + pos.height)};
}

int PageContainer::scaled(int length) const {
    return static_cast<int>(std::lround(length * scale_));
}

imaging::RoundedBox PageContainer::scaled(const litehtml::position& pos,
                                          const litehtml::border_radiuses& radii) const {
    const imaging::Rect box = scaled(pos);
    imaging::RoundedBox shape;
    shape.left = box.left;
    shape.top = box.top;
    shape.right = box.right;
    shape.bottom = box.bottom;
    shape.radii = {radii.top_left_x * scale_,     radii.top_left_y * scale_,
                   radii.top_right_x * scale_,    radii.top_right_y * scale_,
                   radii.bottom_right_x * scale_, radii.bottom_right_y * scale_,
                   radii.bottom_left_x * scale_,  radii.bottom_left_y * scale_};
    return shape;
}

const imaging::PictureSurface* PageContainer::surfaceOf(const std::string& source) {
    const imaging::Bitmap* picture = source.empty() ? nullptr : resources_.picture(source);
    if (!picture)
        return nullptr;
    if (auto known = surfaces_.find(picture); known != surfaces_.end())
        return &known->second;
    imaging::PictureSurface surface(*picture);
    if (surfaceBytes_ + surface.bytes() > kMaxSurfaceBytes) {
        passing_ = std::move(surface);
        return &*passing_;
    }
    surfaceBytes_ += surface.bytes();
    return &surfaces_.emplace(picture, std::move(surface)).first->second;
}

const imaging::PictureSurface* PageContainer::vectorSurfaceOf(const std::string& source, int width,
                                                              int height) {
    if (!source.starts_with(kInlineSvgAddressStart))
        return nullptr;
    const auto key = std::make_tuple(source, width, height);
    if (auto known = vectorSurfaces_.find(key); known != vectorSurfaces_.end())
        return known->second.get() ? &known->second : nullptr;
    imaging::Bitmap drawn;
    if (const auto bytes = loadPageResource(source, resources_.page(), PageResources::kFetchTimeout,
                                            PageResources::kMaxPictureBytes))
        imaging::decodeSvgAtSize(*bytes, width, height, drawn);
    imaging::PictureSurface surface(drawn);
    if (surfaceBytes_ + surface.bytes() > kMaxSurfaceBytes) {
        passing_ = std::move(surface);
        return passing_->get() ? &*passing_ : nullptr;
    }
    surfaceBytes_ += surface.bytes();
    const imaging::PictureSurface& kept =
        vectorSurfaces_.emplace(key, std::move(surface)).first->second;
    return kept.get() ? &kept : nullptr;
}

int PageContainer::text_width(const litehtml::tchar_t* text, litehtml::uint_ptr hFont) {
    Font& used = *fonts_.at(hFont);
    const std::string_view word(text ? text : "");
    double width = 0;
    if (auto known = used.widths.find(word); known != used.widths.end()) {
        width = known->second;
    } else {
        width = used.face->width(word);
        if (used.widths.size() < kMaxRememberedWidths)
            used.widths.emplace(word, width);
    }
    // What is measured while painting (list markers) is measured alone: a painting shows
    // the same whatever area it covers and whatever was painted before it.
    if (canvas_)
        return std::max(0, static_cast<int>(std::lround(width)));
    const int whole = static_cast<int>(std::lround(width + carry_));
    carry_ += width - whole;
    return std::max(0, whole);
}

void PageContainer::draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text,
                              litehtml::uint_ptr hFont, litehtml::web_color color,
                              const litehtml::position& pos) {
    imaging::Canvas& canvas = canvasOf(hdc);
    const Font& used = font(hFont);
    const imaging::TextFont& face = *used.face;
    const std::string_view run(text ? text : "");
    // The line gap is shared above and below the glyphs, as browsers place them.
    const int baseline = pos.y + (pos.height - face.ascent() - face.descent()) / 2 + face.ascent();
    const std::uint32_t argb = argbOf(color);
    face.draw(canvas, run, pos.x, baseline, argb, scale_);
    if (!(used.decoration &
          (litehtml::font_decoration_underline | litehtml::font_decoration_linethrough |
           litehtml::font_decoration_overline)))
        return;
    const int x = scaled(pos.x);
    const int width = static_cast<int>(std::lround(face.width(run) * scale_));
    const int thickness = std::max(1, static_cast<int>(std::lround(face.pixels() * scale_ / 14)));
    const auto line = [&](double cssY) {
        const int y = static_cast<int>(std::lround(cssY * scale_));
        canvas.fillRect({x, y, x + width, y + thickness}, argb);
    };
    if (used.decoration & litehtml::font_decoration_underline)
        line(baseline + std::max(1, face.descent() / 3));
    if (used.decoration & litehtml::font_decoration_linethrough)
        line(baseline - face.xHeight() / 2.0);
    if (used.decoration & litehtml::font_decoration_overline)
        line(baseline - face.ascent());
}

int PageContainer::pt_to_px(int pt) const {
    // A sheet may ask for any number of points; the pixels stay within what an int holds.
    const long long pixels = static_cast<long long>(pt) * 96 / 72;
    return static_cast<int>(std::clamp<long long>(pixels, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

int PageContainer::get_default_font_size() const {
    return kDefaultFontPixels;
}

const litehtml::tchar_t* PageContainer::get_default_font_name() const {
    return "Times New Roman";
}

void PageContainer::draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& placed) {
    imaging::Canvas& canvas = canvasOf(hdc);
    litehtml::list_marker marker = placed;
    for (const litehtml::position& item : mirrored_)
        if (marker.pos.y >= item.top() && marker.pos.y < item.bottom() &&
            marker.pos.right() <= item.left()) {
            marker.pos.x = item.left() + item.right() - marker.pos.right();
            break;
        }
    if (const imaging::PictureSurface* picture = surfaceOf(marker.image)) {
        const int left = scaled(marker.pos.x);
        const int top = scaled(marker.pos.y);
        const imaging::Rect tile{left, top, left + scaled(picture->width()),
                                 top + scaled(picture->height())};
        canvas.paint([&](cairo_t* cairo) {
            paintBackground(cairo, {}, tile, 0,
                            {picture->get(), picture->width(), picture->height(), tile});
        });
        return;
    }
    const imaging::Rect box = scaled(marker.pos);
    const std::uint32_t argb = argbOf(marker.color);
    if (marker.marker_type == litehtml::list_style_type_none || box.empty())
        return;
    if (marker.marker_type == litehtml::list_style_type_square) {
        canvas.fillRect(box, argb);
        return;
    }
    // A disc, or a circle drawn with a line as wide as a CSS pixel.
    canvas.paint([&](cairo_t* cairo) {
        imaging::setSourceColour(cairo, argb);
        const double radius = std::min(box.width(), box.height()) / 2.0;
        const double line = std::max(1.0, scale_);
        const bool circle = marker.marker_type == litehtml::list_style_type_circle;
        cairo_arc(cairo, (box.left + box.right) / 2.0, (box.top + box.bottom) / 2.0,
                  circle ? std::max(0.5, radius - line / 2) : radius, 0, 2 * M_PI);
        if (circle) {
            cairo_set_line_width(cairo, line);
            cairo_stroke(cairo);
        } else {
            cairo_fill(cairo);
        }
    });
}

void PageContainer::load_image(const litehtml::tchar_t* src, const litehtml::tchar_t*, bool) {
    resources_.request(src ? src : "");
}

void PageContainer::get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t*,
                                   litehtml::size& sz) {
    const imaging::Bitmap* picture = resources_.picture(src ? src : "");
    if (!picture) {
        // Not had (yet): the size its attributes give it, whose proportions a browser keeps
        // where the page's sheet lets the height follow the width ("height: auto").
        const auto given = attributeSizes_.find(src ? src : "");
        sz = given != attributeSizes_.end() ? given->second : litehtml::size{};
        return;
    }
    sz.width = picture->width();
    sz.height = picture->height();
}

void PageContainer::draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg) {
    imaging::Canvas& canvas = canvasOf(hdc);
    const imaging::Rect clipBox = scaled(bg.clip_box);
    BackgroundPicture picture;
    if (const imaging::PictureSurface* surface = surfaceOf(bg.image)) {
        const int width =
            std::max(1, scaled(bg.image_size.width > 0 ? bg.image_size.width : surface->width()));
        const int height = std::max(
            1, scaled(bg.image_size.height > 0 ? bg.image_size.height : surface->height()));
        if (width != surface->width() || height != surface->height())
            if (const imaging::PictureSurface* sharp = vectorSurfaceOf(bg.image, width, height))
                surface = sharp;
        const int left = scaled(bg.position_x);
        const int top = scaled(bg.position_y);
        picture = {surface->get(),
                   surface->width(),
                   surface->height(),
                   {left, top, left + width, top + height},
                   bg.repeat == litehtml::background_repeat_repeat ||
                       bg.repeat == litehtml::background_repeat_repeat_x,
                   bg.repeat == litehtml::background_repeat_repeat ||
                       bg.repeat == litehtml::background_repeat_repeat_y};
    }
    // The root's background covers the whole canvas; any other stays inside its rounded
    // border box.
    const imaging::RoundedBox shape =
        bg.is_root ? imaging::RoundedBox{} : scaled(bg.border_box, bg.border_radius);
    canvas.paint(
        [&](cairo_t* cairo) { paintBackground(cairo, shape, clipBox, argbOf(bg.color), picture); });
    if (!picture.surface && !bg.image.empty())
        if (auto stand = pictureStandIns_.find(bg.image);
            stand != pictureStandIns_.end() && resources_.missing(bg.image))
            drawMissingPicture(canvas, bg.clip_box, stand->second);
}

const imaging::TextFont& PageContainer::standInFont(const PictureStandIn& standIn) {
    if (const auto element = standIn.element.lock())
        if (const auto found = fonts_.find(element->get_font()); found != fonts_.end())
            return *found->second->face;
    if (!defaultFont_)
        defaultFont_ = std::make_unique<imaging::TextFont>(get_default_font_name(),
                                                           kDefaultFontPixels, 400, false);
    return *defaultFont_;
}

void PageContainer::drawMissingPicture(imaging::Canvas& canvas, const litehtml::position& box,
                                       const PictureStandIn& standIn) {
    const imaging::Rect target = scaled(box);
    if (target.empty())
        return;
    const imaging::TextFont& font = standInFont(standIn);
    const double line = std::max(1, scaled(1));
    canvas.paint([&](cairo_t* cairo) {
        cairo_rectangle(cairo, target.left, target.top, target.width(), target.height());
        cairo_clip(cairo);
        imaging::setSourceColour(cairo, kAltFrame);
        cairo_set_line_width(cairo, line);
        cairo_rectangle(cairo, target.left + line / 2, target.top + line / 2, target.width() - line,
                        target.height() - line);
        cairo_stroke(cairo);
        font.draw(canvas, standIn.alt, box.x + kAltInset, box.y + kAltInset + font.ascent(),
                  kAltColour, scale_);
    });
}

void PageContainer::draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders,
                                 const litehtml::position& draw_pos, bool) {
    // A border at least one CSS pixel wide stays at least one canvas pixel wide.
    const auto width = [&](const litehtml::border& border) {
        return std::max(1, scaled(border.width));
    };
    const BoxBorders sides{
        sideOf(borders.left, width(borders.left)), sideOf(borders.top, width(borders.top)),
        sideOf(borders.right, width(borders.right)), sideOf(borders.bottom, width(borders.bottom))};
    const imaging::RoundedBox outer = scaled(draw_pos, borders.radius);
    canvasOf(hdc).paint([&](cairo_t* cairo) { paintBorders(cairo, outer, sides); });
}

void PageContainer::set_caption(const litehtml::tchar_t*) {}

void PageContainer::set_base_url(const litehtml::tchar_t* base_url) {
    if (base_url && *base_url)
        resources_.setBase(base_url);
}

void PageContainer::link(const std::shared_ptr<litehtml::document>&,
                         const litehtml::element::ptr&) {}

void PageContainer::on_anchor_click(const litehtml::tchar_t*, const litehtml::element::ptr&) {}

void PageContainer::set_cursor(const litehtml::tchar_t*) {}

void PageContainer::transform_text(litehtml::tstring& text, litehtml::text_transform tt) {
    std::wstring wide = platform::text::fromUtf8(text);
    bool wordStart = true;
    for (wchar_t& c : wide) {
        if (tt == litehtml::text_transform_uppercase)
            c = static_cast<wchar_t>(std::towupper(c));
        else if (tt == litehtml::text_transform_lowercase)
            c = static_cast<wchar_t>(std::towlower(c));
        else if (tt == litehtml::text_transform_capitalize && wordStart)
            c = static_cast<wchar_t>(std::towupper(c));
        wordStart = std::iswspace(c) != 0;
    }
    text = platform::text::toUtf8(wide);
}

void PageContainer::import_css(litehtml::tstring& text, const litehtml::tstring& url,
                               litehtml::tstring&) {
    auto sheet = linkedSheets_.find(url);
    text = sheet != linkedSheets_.end() ? sheet->second : std::string();
}

void PageContainer::set_clip(const litehtml::position& pos, const litehtml::border_radiuses& radii,
                             bool valid_x, bool valid_y) {
    // A box that clips along one direction only leaves the other open.
    imaging::RoundedBox shape = scaled(pos, radii);
    if (!valid_x) {
        shape.left = std::numeric_limits<int>::min() / 2;
        shape.right = std::numeric_limits<int>::max() / 2;
    }
    if (!valid_y) {
        shape.top = std::numeric_limits<int>::min() / 2;
        shape.bottom = std::numeric_limits<int>::max() / 2;
    }
    if (!valid_x || !valid_y)
        shape.radii = {};
    clips_.push_back(shape);
    applyClip();
}

void PageContainer::del_clip() {
    if (!clips_.empty())
        clips_.pop_back();
    applyClip();
}

void PageContainer::applyClip() {
    if (!canvas_)
        return;
    imaging::Rect clip{0, 0, canvas_->width(), canvas_->height()};
    std::vector<imaging::RoundedBox> rounded;
    for (const imaging::RoundedBox& shape : clips_) {
        clip = {std::max(clip.left, static_cast<int>(shape.left)),
                std::max(clip.top, static_cast<int>(shape.top)),
                std::min(clip.right, static_cast<int>(shape.right)),
                std::min(clip.bottom, static_cast<int>(shape.bottom))};
        if (shape.radii.any())
            rounded.push_back(shape);
    }
    canvas_->setClip(clip, rounded);
}

void PageContainer::beginPainting(imaging::Canvas& canvas, double scale) {
    scale_ = scale;
    canvas_ = &canvas;
    clips_.clear();
    applyClip();
}

void PageContainer::endPainting() {
    if (canvas_)
        canvas_->resetClip();
    canvas_ = nullptr;
    clips_.clear();
    passing_.reset();
}

void PageContainer::get_client_rect(litehtml::position& client) const {
    client = {0, 0, viewport_.width, viewport_.height};
}

std::shared_ptr<litehtml::element> PageContainer::create_element(
    const litehtml::tchar_t* tag_name, const litehtml::string_map& attributes,
    const std::shared_ptr<litehtml::document>& doc) {
    if (!tag_name)
        return nullptr;
    const bool picture = std::strcmp(tag_name, "img") == 0;
    std::shared_ptr<litehtml::element> made;
    if (matching_ == RuleMatching::everyRule)
        made = picture || std::strcmp(tag_name, "svg") == 0
                   ? std::make_shared<litehtml::el_image>(doc)
                   : nullptr;
    else
        made = makePageElement(tag_name, doc, rules_, properties_);
    if (const auto source = attributes.find("src"); picture && source != attributes.end()) {
        const auto alt = attributes.find("alt");
        if (alt != attributes.end() && !alt->second.empty())
            pictureStandIns_.emplace(source->second, PictureStandIn{alt->second, made});
        const auto width = attributes.find("width");
        const auto height = attributes.find("height");
        if (width != attributes.end() && height != attributes.end())
            if (const auto w = pixelsOf(width->second), h = pixelsOf(height->second); w && h) {
                litehtml::size size;
                size.width = *w;
                size.height = *h;
                attributeSizes_.emplace(source->second, size);
            }
    }
    return made;
}

namespace {

// Chinese and Japanese punctuation that ends a phrase or closes a bracket: a browser never
// begins a line with it.
bool closesCjkPhrase(char32_t point) {
    switch (point) {
        case 0x3001:  // 、
        case 0x3002:  // 。
        case 0x3009:  // 〉
        case 0x300B:  // 》
        case 0x300D:  // 」
        case 0x300F:  // 』
        case 0x3011:  // 】
        case 0xFF01:  // ！
        case 0xFF09:  // ）
        case 0xFF0C:  // ，
        case 0xFF0E:  // ．
        case 0xFF1A:  // ：
        case 0xFF1B:  // ；
        case 0xFF1F:  // ？
            return true;
        default:
            return false;
    }
}

// Whether `word` is one opening bracket of Chinese or Japanese text, which no line ends with.
bool openingPunctuation(const std::string& word) {
    static constexpr const char* kOpening[] = {"\u3008", "\u300A", "\u300C",
                                               "\u300E", "\u3010", "\uFF08"};
    for (const char* opening : kOpening)
        if (word == opening)
            return true;
    return false;
}

}  // namespace

void PageContainer::split_text(const char* text,
                               const std::function<void(const litehtml::tchar_t*)>& on_word,
                               const std::function<void(const litehtml::tchar_t*)>& on_space) {
    std::string word;
    // The word is an ideograph, with what clings to it: the next one begins a new word.
    bool afterIdeograph = false;
    const auto endWord = [&] {
        afterIdeograph = false;
        if (!word.empty()) {
            ++piecesSplit_;
            on_word(word.c_str());
            word.clear();
        }
    };
    for (const char* at = text ? text : ""; *at;) {
        const char c = *at;
        if (platform::text::isHtmlSpace(c)) {
            endWord();
            const char space[2] = {c, 0};
            ++piecesSplit_;
            on_space(space);
            ++at;
            continue;
        }
        const unsigned char lead = static_cast<unsigned char>(c);
        std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        for (std::size_t k = 1; k < length; ++k)
            if (at[k] == 0)
                length = k;
        // The unified ideographs U+4E00 to U+9FCC, and the punctuation that may not begin
        // or end a line beside them, are all three bytes long.
        char32_t point = 0;
        if (length == 3)
            point = ((lead & 0x0F) << 12) | ((static_cast<unsigned char>(at[1]) & 0x3F) << 6) |
                    (static_cast<unsigned char>(at[2]) & 0x3F);
        const bool ideograph = point >= 0x4E00 && point <= 0x9FCC;
        if (ideograph) {
            // An opening bracket before it stays with it.
            if (!openingPunctuation(word))
                endWord();
            word.append(at, length);
            afterIdeograph = true;
        } else if (afterIdeograph && closesCjkPhrase(point)) {
            // A full stop or closing bracket stays with the ideograph before it: no line
            // begins with one.
            word.append(at, length);
        } else {
            if (afterIdeograph)
                endWord();
            word.append(at, length);
            afterIdeograph = false;
        }
        at += length;
    }
    endWord();
}

void PageContainer::get_media_features(litehtml::media_features& media) const {
    media.type = litehtml::media_type_screen;
    media.width = viewport_.width;
    media.height = viewport_.height;
    media.device_width = viewport_.width;
    media.device_height = viewport_.height;
    media.color = 8;
    media.color_index = 0;
    media.monochrome = 0;
    media.resolution = 96;
}

void PageContainer::get_language(litehtml::tstring& language, litehtml::tstring& culture) const {
    language = "en";
    culture.clear();
}

}  // namespace platform::dom
