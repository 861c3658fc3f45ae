#include "platform/dom/layout/page_container.h"

#include <el_image.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cwctype>
#include <limits>

#include "platform/text/html_space.h"
#include "platform/text/utf.h"

namespace platform::dom {

namespace {

std::uint32_t argbOf(const litehtml::web_color& color) {
    return (std::uint32_t{color.alpha} << 24) | (std::uint32_t{color.red} << 16) |
           (std::uint32_t{color.green} << 8) | color.blue;
}

// Fills with the colour's own alpha: opaque colours cover, translucent ones blend.
void fill(imaging::Canvas& canvas, imaging::Rect rect, std::uint32_t argb) {
    const int alpha = static_cast<int>(argb >> 24);
    if (alpha == 255)
        canvas.fillRect(rect, argb);
    else if (alpha > 0)
        canvas.shadeRect(rect, argb, alpha);
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
        fill(canvas, {x, y, x + width, y + thickness}, argb);
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
    if (!marker.image.empty()) {
        if (const imaging::Bitmap* picture = resources_.picture(marker.image)) {
            const int left = scaled(marker.pos.x);
            const int top = scaled(marker.pos.y);
            canvas.drawPictureScaled(*picture, {left, top, left + scaled(picture->width()),
                                                top + scaled(picture->height())});
            return;
        }
    }
    const imaging::Rect box = scaled(marker.pos);
    const std::uint32_t argb = argbOf(marker.color);
    switch (marker.marker_type) {
        case litehtml::list_style_type_none:
            return;
        case litehtml::list_style_type_square:
            fill(canvas, box, argb);
            return;
        case litehtml::list_style_type_circle:
            canvas.frameRect(box, argb | 0xFF000000u);
            return;
        default: {
            // A disc: the square with its corners cut.
            const int inset = std::max(1, box.width() / 4);
            fill(canvas, {box.left + inset, box.top, box.right - inset, box.bottom}, argb);
            fill(canvas, {box.left, box.top + inset, box.right, box.bottom - inset}, argb);
        }
    }
}

void PageContainer::load_image(const litehtml::tchar_t* src, const litehtml::tchar_t*, bool) {
    resources_.request(src ? src : "");
}

void PageContainer::get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t*,
                                   litehtml::size& sz) {
    const imaging::Bitmap* picture = resources_.picture(src ? src : "");
    sz.width = picture ? picture->width() : 0;
    sz.height = picture ? picture->height() : 0;
}

void PageContainer::draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg) {
    imaging::Canvas& canvas = canvasOf(hdc);
    const imaging::Rect clipBox = scaled(bg.clip_box);
    const imaging::Rect saved = canvas.clip();
    canvas.setClip({std::max(saved.left, clipBox.left), std::max(saved.top, clipBox.top),
                    std::min(saved.right, clipBox.right), std::min(saved.bottom, clipBox.bottom)});
    fill(canvas, bg.is_root ? saved : clipBox, argbOf(bg.color));
    const imaging::Bitmap* picture = bg.image.empty() ? nullptr : resources_.picture(bg.image);
    if (picture) {
        const int width =
            std::max(1, scaled(bg.image_size.width > 0 ? bg.image_size.width : picture->width()));
        const int height = std::max(
            1, scaled(bg.image_size.height > 0 ? bg.image_size.height : picture->height()));
        const bool repeatX = bg.repeat == litehtml::background_repeat_repeat ||
                             bg.repeat == litehtml::background_repeat_repeat_x;
        const bool repeatY = bg.repeat == litehtml::background_repeat_repeat ||
                             bg.repeat == litehtml::background_repeat_repeat_y;
        int startX = scaled(bg.position_x);
        int startY = scaled(bg.position_y);
        if (repeatX)
            while (startX > clipBox.left)
                startX -= width;
        if (repeatY)
            while (startY > clipBox.top)
                startY -= height;
        for (int y = startY; y < clipBox.bottom; y += height) {
            for (int x = startX; x < clipBox.right; x += width) {
                canvas.drawPictureScaled(*picture, {x, y, x + width, y + height});
                if (!repeatX)
                    break;
            }
            if (!repeatY)
                break;
        }
    }
    canvas.setClip(saved);
}

void PageContainer::draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders,
                                 const litehtml::position& draw_pos, bool) {
    imaging::Canvas& canvas = canvasOf(hdc);
    const imaging::Rect box = scaled(draw_pos);
    // A border at least one CSS pixel wide stays at least one canvas pixel wide.
    const auto thickness = [&](const litehtml::border& border) {
        return std::max(1, scaled(border.width));
    };
    const auto side = [&](const litehtml::border& border, imaging::Rect strip) {
        if (border.width <= 0 || border.style == litehtml::border_style_none ||
            border.style == litehtml::border_style_hidden)
            return;
        fill(canvas, strip, argbOf(border.color));
    };
    side(borders.top, {box.left, box.top, box.right, box.top + thickness(borders.top)});
    side(borders.bottom, {box.left, box.bottom - thickness(borders.bottom), box.right, box.bottom});
    side(borders.left, {box.left, box.top, box.left + thickness(borders.left), box.bottom});
    side(borders.right, {box.right - thickness(borders.right), box.top, box.right, box.bottom});
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

void PageContainer::set_clip(const litehtml::position& pos, const litehtml::border_radiuses&, bool,
                             bool) {
    clips_.push_back(scaled(pos));
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
    for (const imaging::Rect& rect : clips_)
        clip = {std::max(clip.left, rect.left), std::max(clip.top, rect.top),
                std::min(clip.right, rect.right), std::min(clip.bottom, rect.bottom)};
    canvas_->setClip(clip);
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
}

void PageContainer::get_client_rect(litehtml::position& client) const {
    client = {0, 0, viewport_.width, viewport_.height};
}

std::shared_ptr<litehtml::element> PageContainer::create_element(
    const litehtml::tchar_t* tag_name, const litehtml::string_map&,
    const std::shared_ptr<litehtml::document>& doc) {
    if (!tag_name)
        return nullptr;
    if (matching_ == RuleMatching::everyRule)
        return std::strcmp(tag_name, "svg") == 0 ? std::make_shared<litehtml::el_image>(doc)
                                                 : nullptr;
    return makePageElement(tag_name, doc, rules_, properties_);
}

void PageContainer::split_text(const char* text,
                               const std::function<void(const litehtml::tchar_t*)>& on_word,
                               const std::function<void(const litehtml::tchar_t*)>& on_space) {
    std::string word;
    const auto endWord = [&] {
        if (!word.empty()) {
            on_word(word.c_str());
            word.clear();
        }
    };
    for (const char* at = text ? text : ""; *at;) {
        const char c = *at;
        if (platform::text::isHtmlSpace(c)) {
            endWord();
            const char space[2] = {c, 0};
            on_space(space);
            ++at;
            continue;
        }
        const unsigned char lead = static_cast<unsigned char>(c);
        std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        for (std::size_t k = 1; k < length; ++k)
            if (at[k] == 0)
                length = k;
        // The unified ideographs U+4E00 to U+9FCC are all three bytes long.
        bool ideograph = false;
        if (length == 3) {
            const char32_t point = ((lead & 0x0F) << 12) |
                                   ((static_cast<unsigned char>(at[1]) & 0x3F) << 6) |
                                   (static_cast<unsigned char>(at[2]) & 0x3F);
            ideograph = point >= 0x4E00 && point <= 0x9FCC;
        }
        if (ideograph) {
            endWord();
            word.assign(at, length);
            endWord();
        } else {
            word.append(at, length);
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
