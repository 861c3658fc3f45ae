#include "platform/imaging/canvas/text_font.h"

#include <pango/pangocairo.h>
#include <pango/pangofc-font.h>

#include <algorithm>
#include <cmath>

#include "platform/imaging/canvas/font_catalog.h"

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

struct VerticalMetrics {
    int ascent = 0;
    int descent = 0;
    int height = 0;
};

// The face's ascent, descent and line height (with its line gap) in Pango units: for an
// untransformed face straight from its extents, as Pango's own metrics take them. Pango's
// full metrics also lay out a sample text in a context of their own, which costs a font
// match and sort of its own per new face; only a transformed face (a synthetic slant)
// still takes that way.
VerticalMetrics verticalMetricsOf(PangoFont* font) {
    FcMatrix* matrix = nullptr;
    if (PANGO_IS_FC_FONT(font) && FcPatternGetMatrix(pango_fc_font_get_pattern(PANGO_FC_FONT(font)),
                                                     FC_MATRIX, 0, &matrix) != FcResultMatch) {
        hb_font_extents_t extents{};
        hb_font_get_extents_for_direction(pango_font_get_hb_font(font), HB_DIRECTION_LTR, &extents);
        return {extents.ascender, -extents.descender,
                extents.ascender - extents.descender + extents.line_gap};
    }
    PangoFontMetrics* metrics = pango_font_get_metrics(font, nullptr);
    const VerticalMetrics vertical{pango_font_metrics_get_ascent(metrics),
                                   pango_font_metrics_get_descent(metrics),
                                   pango_font_metrics_get_height(metrics)};
    pango_font_metrics_unref(metrics);
    return vertical;
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
        const VerticalMetrics metrics = verticalMetricsOf(primary);
        // Ascent, descent and line gap each in whole pixels, then added, as browsers take
        // them: rounding their sum instead makes some sizes' lines a pixel taller or shorter.
        ascent_ = wholePixels(metrics.ascent);
        descent_ = wholePixels(metrics.descent);
        lineHeight_ = ascent_ + descent_ +
                      std::max(0, wholePixels(metrics.height - metrics.ascent - metrics.descent));
        g_object_unref(primary);
    }
    pango_font_description_free(description);

    xHeight_ = inkAbove("x");
}

int TextFont::inkAbove(const char* sample) const {
    pango_layout_set_text(layout_, sample, -1);
    PangoRectangle ink;
    pango_layout_get_extents(layout_, &ink, nullptr);
    return wholePixels(pango_layout_get_baseline(layout_) - ink.y);
}

int TextFont::capHeight() const {
    return inkAbove("H");
}

void TextFont::prepare() {
    FcInit();
    fontFamilies("serif");
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
        setSourceColour(cairo, argb);
        cairo_move_to(cairo, x, top);
        pango_cairo_show_layout(cairo, layout_);
    });
}

}  // namespace platform::imaging
