// The layout engine's view of this system (litehtml's document container): fonts found
// through fontconfig and measured and drawn by Pango (see imaging/text_font.h), pictures and linked
// sheets through the page's resources, the viewport as the screen medium, and drawing onto a Canvas
// with cairo (the "hdc" litehtml hands back is the Canvas being painted): borders, backgrounds
// and pictures through box_painting.h, list markers as discs, circles and squares, and the
// clips of boxes that hide their overflow, rounded as their corners are. Each picture is
// converted for cairo once and kept while the page is laid out.
//
// The page is laid out in CSS pixels; it is painted at a scale (beginPainting): every
// position and size litehtml hands over is multiplied by it, and text is drawn from its
// outlines at the font's size times the scale, so a page painted at 300 dpi has sharp
// glyphs rather than enlarged ones.
//
// Text is measured as browsers lay it out, in fractions of a pixel, but the engine takes
// whole pixels for each word and each space: the rounding is carried from one measurement
// to the next, so any run of words and spaces measured one after the other (a line) adds
// up to within a pixel of its true width. One layout pass measures the page's words in
// document order; startMeasuring() makes a pass measure as a new container would. What is
// measured while painting is rounded alone and carries nothing. Each font remembers the
// widths of the words it measured (a page repeats its words), so a word is shaped once per
// font.
//
// Contract: one per laid-out page, owned by the layout engine, on the page's thread. The
// font handles it gives out stay valid until the container is destroyed.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <vector>

#include <litehtml.h>

#include "platform/dom/geometry.h"
#include "platform/dom/layout/page_elements.h"
#include "platform/dom/resources/page_resources.h"
#include "platform/imaging/canvas/canvas.h"
#include "platform/imaging/canvas/picture_surface.h"
#include "platform/imaging/canvas/text_font.h"

namespace platform::dom {

class PageContainer final : public litehtml::document_container {
  public:
    // Chromium's defaults: 16 px Times (here Liberation Serif).
    static constexpr int kDefaultFontPixels = 16;

    PageContainer(PageResources& resources, Size viewport,
                  std::map<std::string, std::string> linkedSheets,
                  RuleMatching matching = RuleMatching::indexed);

    struct Font {
        std::unique_ptr<imaging::TextFont> face;
        unsigned decoration = 0;
        // The measured width of each word (UTF-8) measured in this font.
        struct TextHash {
            using is_transparent = void;
            std::size_t operator()(std::string_view text) const noexcept {
                return std::hash<std::string_view>()(text);
            }
        };
        std::unordered_map<std::string, double, TextHash, std::equal_to<>> widths;
    };
    // Past this many words a font measures new ones without remembering them.
    static constexpr std::size_t kMaxRememberedWidths = 1 << 16;
    const Font& font(litehtml::uint_ptr handle) const;
    imaging::Canvas& canvasOf(litehtml::uint_ptr hdc) const;

    litehtml::uint_ptr create_font(const litehtml::tchar_t* faceName, int size, int weight,
                                   litehtml::font_style italic, unsigned int decoration,
                                   litehtml::font_metrics* fm) override;
    void delete_font(litehtml::uint_ptr hFont) override;
    int text_width(const litehtml::tchar_t* text, litehtml::uint_ptr hFont) override;
    void draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text, litehtml::uint_ptr hFont,
                   litehtml::web_color color, const litehtml::position& pos) override;
    int pt_to_px(int pt) const override;
    int get_default_font_size() const override;
    const litehtml::tchar_t* get_default_font_name() const override;
    void draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker) override;
    void load_image(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl,
                    bool redraw_on_ready) override;
    void get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl,
                        litehtml::size& sz) override;
    void draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg) override;
    void draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders,
                      const litehtml::position& draw_pos, bool root) override;
    void set_caption(const litehtml::tchar_t* caption) override;
    void set_base_url(const litehtml::tchar_t* base_url) override;
    void link(const std::shared_ptr<litehtml::document>& doc,
              const litehtml::element::ptr& el) override;
    void on_anchor_click(const litehtml::tchar_t* url, const litehtml::element::ptr& el) override;
    void set_cursor(const litehtml::tchar_t* cursor) override;
    void transform_text(litehtml::tstring& text, litehtml::text_transform tt) override;
    void import_css(litehtml::tstring& text, const litehtml::tstring& url,
                    litehtml::tstring& baseurl) override;
    void set_clip(const litehtml::position& pos, const litehtml::border_radiuses& bdr_radius,
                  bool valid_x, bool valid_y) override;
    void del_clip() override;
    void get_client_rect(litehtml::position& client) const override;
    std::shared_ptr<litehtml::element> create_element(
        const litehtml::tchar_t* tag_name, const litehtml::string_map& attributes,
        const std::shared_ptr<litehtml::document>& doc) override;
    void get_media_features(litehtml::media_features& media) const override;
    void get_language(litehtml::tstring& language, litehtml::tstring& culture) const override;
    // The engine's own split of a text into words and spaces (each white space character
    // is a space, each ideograph a word of its own), on the UTF-8 as it is instead of
    // through wide strings and back for every piece.
    void split_text(const char* text, const std::function<void(const litehtml::tchar_t*)>& on_word,
                    const std::function<void(const litehtml::tchar_t*)>& on_space) override;
    // How many words and spaces split_text has handed the engine.
    std::size_t piecesSplit() const { return piecesSplit_; }

    // The next measurement starts without a carried rounding (before styles are parsed
    // again).
    void startMeasuring() { carry_ = 0; }

    // A character of the script the page is mostly written in, where the fonts fall back
    // for it: the fonts' lines are as tall as the fallback face needs (see
    // TextFont::includeFallbackFor). Empty for none.
    void setScriptSample(std::string sample) { scriptSample_ = std::move(sample); }

    // Painting onto `canvas`, each CSS pixel `scale` canvas pixels wide (positive); the
    // clip rectangles set while painting are applied to it.
    void beginPainting(imaging::Canvas& canvas, double scale);
    void endPainting();
    // The content boxes, as painted, of list items that run right to left: a marker the
    // engine sets on the left of one is mirrored to its right.
    void mirrorMarkersOf(std::vector<litehtml::position> items) { mirrored_ = std::move(items); }

  private:
    void applyClip();
    // A rectangle of the laid-out page in the canvas's pixels.
    imaging::Rect scaled(const litehtml::position& pos) const;
    imaging::RoundedBox scaled(const litehtml::position& pos,
                               const litehtml::border_radiuses& radii) const;
    int scaled(int length) const;
    // The picture at `source` made ready to paint, or null when there is none.
    const imaging::PictureSurface* surfaceOf(const std::string& source);
    // What stands in a picture's box while it cannot be had: its alternative text, in the
    // font of the picture's element while that lives (else the default font).
    struct PictureStandIn {
        std::string alt;
        std::weak_ptr<litehtml::element> element;
    };
    const imaging::TextFont& standInFont(const PictureStandIn& standIn);
    // A picture that cannot be had, standing in its box: a thin frame and its alternative
    // text inside, cut to the box, as browsers draw one.
    void drawMissingPicture(imaging::Canvas& canvas, const litehtml::position& box,
                            const PictureStandIn& standIn);
    static constexpr std::uint32_t kAltFrame = 0xFFC0C0C0;
    static constexpr std::uint32_t kAltColour = 0xFF000000;
    static constexpr int kAltInset = 2;
    // An inline svg of the page drawn afresh at the size it is
    // painted at, so that it stays sharp at any scale; null for any other picture.
    const imaging::PictureSurface* vectorSurfaceOf(const std::string& source, int width,
                                                   int height);

    PageResources& resources_;
    Size viewport_;
    std::map<std::string, std::string> linkedSheets_;
    std::map<litehtml::uint_ptr, std::unique_ptr<Font>> fonts_;
    litehtml::uint_ptr nextFont_ = 1;
    imaging::Canvas* canvas_ = nullptr;
    double scale_ = 1.0;
    // What the whole pixels given out so far fall short of the widths measured.
    double carry_ = 0;
    std::string scriptSample_;
    std::vector<imaging::RoundedBox> clips_;
    // Each picture converted once for painting, up to a memory budget; past it a picture
    // is converted for the one painting and dropped.
    static constexpr std::size_t kMaxSurfaceBytes = 256u << 20;
    std::unordered_map<const imaging::Bitmap*, imaging::PictureSurface> surfaces_;
    std::map<std::tuple<std::string, int, int>, imaging::PictureSurface> vectorSurfaces_;
    std::size_t surfaceBytes_ = 0;
    std::optional<imaging::PictureSurface> passing_;
    // What stands in for each picture's address, as the first picture of it gives it.
    std::unordered_map<std::string, PictureStandIn> pictureStandIns_;
    std::unique_ptr<imaging::TextFont> defaultFont_;
    // The size the width and height attributes of each picture's address give it.
    std::unordered_map<std::string, litehtml::size> attributeSizes_;
    std::vector<litehtml::position> mirrored_;
    std::size_t piecesSplit_ = 0;
    RuleMatching matching_;
    StyleRuleIndex rules_;
    PropertyIds properties_;
};

}  // namespace platform::dom
