#include "platform/imaging/text_font.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>

#include "platform/imaging/font_catalog.h"

namespace platform::imaging {

namespace {

// The thread's context for laying text out: unhinted outlines and fractional positions,
// so widths do not depend on the size text is drawn at.
PangoContext* layoutContext() {
    struct Context {
        PangoContext* context = nullptr;
        Context() {
            PangoFontMap* map = pango_cairo_font_map_get_default();
            context = pango_font_map_create_context(map);
            cairo_font_options_t* options = cairo_font_options_create();
            cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
            cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
            cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
            pango_cairo_context_set_font_options(context, options);
            cairo_font_options_destroy(options);
            pango_cairo_context_set_resolution(context, 96);
            pango_context_set_round_glyph_positions(context, FALSE);
        }
        ~Context() { g_object_unref(context); }
    };
    thread_local Context context;
    return context.context;
}

int wholePixels(int pangoUnits) {
    return static_cast<int>(std::lround(static_cast<double>(pangoUnits) / PANGO_SCALE));
}

}  // namespace

TextFont::TextFont(std::string_view families, int pixels, int weight, bool italic)
    : pixels_(std::max(pixels, 1)) {
    PangoContext* context = layoutContext();
    PangoFontDescription* description = pango_font_description_new();
    const std::string list = fontFamilies(families);
    pango_font_description_set_family(description, list.c_str());
    pango_font_description_set_absolute_size(description, pixels_ * double{PANGO_SCALE});
    pango_font_description_set_weight(description,
                                      static_cast<PangoWeight>(std::clamp(weight, 100, 1000)));
    pango_font_description_set_style(description, italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);

    layout_ = pango_layout_new(context);
    pango_layout_set_font_description(layout_, description);
    pango_layout_set_single_paragraph_mode(layout_, TRUE);

    if (PangoFont* primary = pango_context_load_font(context, description)) {
        PangoFontMetrics* metrics = pango_font_get_metrics(primary, nullptr);
        ascent_ = wholePixels(pango_font_metrics_get_ascent(metrics));
        descent_ = wholePixels(pango_font_metrics_get_descent(metrics));
        lineHeight_ =
            std::max(wholePixels(pango_font_metrics_get_height(metrics)), ascent_ + descent_);
        pango_font_metrics_unref(metrics);
        g_object_unref(primary);
    }
    pango_font_description_free(description);

    // The x-height: from the baseline up to the top of the ink of an "x".
    pango_layout_set_text(layout_, "x", 1);
    PangoRectangle ink;
    pango_layout_get_extents(layout_, &ink, nullptr);
    xHeight_ = wholePixels(pango_layout_get_baseline(layout_) - ink.y);
}

TextFont::~TextFont() {
    if (layout_)
        g_object_unref(layout_);
}

std::string TextFont::primaryFamily() const {
    const PangoFontDescription* description = pango_layout_get_font_description(layout_);
    PangoFont* font = pango_context_load_font(pango_layout_get_context(layout_), description);
    if (!font)
        return {};
    PangoFontDescription* chosen = pango_font_describe(font);
    std::string family = pango_font_description_get_family(chosen);
    pango_font_description_free(chosen);
    g_object_unref(font);
    return family;
}

int TextFont::primaryWeight() const {
    const PangoFontDescription* description = pango_layout_get_font_description(layout_);
    PangoFont* font = pango_context_load_font(pango_layout_get_context(layout_), description);
    if (!font)
        return 0;
    PangoFontDescription* chosen = pango_font_describe(font);
    const int weight = pango_font_description_get_weight(chosen);
    pango_font_description_free(chosen);
    g_object_unref(font);
    return weight;
}

void TextFont::includeFallbackFor(std::string_view sample) {
    pango_layout_set_text(layout_, sample.data(), static_cast<int>(sample.size()));
    PangoRectangle logical;
    pango_layout_get_extents(layout_, nullptr, &logical);
    const int baseline = pango_layout_get_baseline(layout_);
    ascent_ = std::max(ascent_, wholePixels(baseline - logical.y));
    descent_ = std::max(descent_, wholePixels(logical.y + logical.height - baseline));
    lineHeight_ = std::max(lineHeight_, ascent_ + descent_);
}

double TextFont::width(std::string_view utf8) const {
    if (utf8.empty())
        return 0;
    pango_layout_set_text(layout_, utf8.data(), static_cast<int>(utf8.size()));
    PangoRectangle logical;
    pango_layout_get_extents(layout_, nullptr, &logical);
    return static_cast<double>(logical.width) / PANGO_SCALE;
}

void TextFont::draw(Canvas& canvas, std::string_view utf8, double x, double baseline,
                    std::uint32_t argb, double scale) const {
    if (utf8.empty() || (argb >> 24) == 0)
        return;
    pango_layout_set_text(layout_, utf8.data(), static_cast<int>(utf8.size()));
    const double top =
        baseline - static_cast<double>(pango_layout_get_baseline(layout_)) / PANGO_SCALE;
    canvas.paint([&](cairo_t* cairo) {
        cairo_scale(cairo, scale, scale);
        cairo_set_source_rgba(cairo, ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0,
                              (argb & 0xFF) / 255.0, (argb >> 24) / 255.0);
        cairo_move_to(cairo, x, top);
        pango_cairo_show_layout(cairo, layout_);
    });
}

}  // namespace platform::imaging
