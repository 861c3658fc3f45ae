#include <gtest/gtest.h>

#include "platform/imaging/canvas/canvas.h"
#include "platform/imaging/canvas/font_catalog.h"
#include "platform/imaging/canvas/text_font.h"

using namespace platform::imaging;

namespace {

std::string familyOf(std::string_view families, int weight = 400, bool italic = false) {
    return TextFont(families, 16, weight, italic).primaryFamily();
}

// The pixels of the canvas that are not white, and the columns they span.
struct Ink {
    int count = 0;
    int left = 1 << 30;
    int right = -1;
};
Ink inkOf(const Canvas& canvas) {
    Ink ink;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if ((canvas.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                ++ink.count;
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
            }
    return ink;
}

TEST(FontCatalog, PageFamiliesFindTheFacesBrowsersUseHere) {
    EXPECT_EQ(fontFamilies("Arial"), "Liberation Sans");
    EXPECT_EQ(fontFamilies("'Helvetica Neue', Helvetica, sans-serif"),
              "Liberation Sans,Liberation Sans");
    // A family the system lacks is left out; the next one of the list stands.
    EXPECT_EQ(fontFamilies("NoSuchFamilyAnywhere, serif"), "Liberation Serif");
    EXPECT_EQ(fontFamilies("NoSuchFamilyAnywhere"), kFallbackFamily);
    // The font shorthand reaches here with the spaces of family names dropped.
    EXPECT_EQ(fontFamilies("Georgia,'TimesNewRoman',serif"), "Liberation Serif,Liberation Serif");
    EXPECT_EQ(fontFamilies("dejavusansmono"), "DejaVu Sans Mono");

    EXPECT_EQ(familyOf("Arial"), "Liberation Sans");
    EXPECT_EQ(familyOf("\"Times New Roman\"", 700), "Liberation Serif");
    EXPECT_EQ(familyOf("Courier", 400, true), "Liberation Mono");
    EXPECT_EQ(familyOf("monospace"), "DejaVu Sans Mono");
    EXPECT_EQ(familyOf("CourierNew"), "Liberation Mono");
    EXPECT_EQ(familyOf("'HelveticaNeue',serif"), "Liberation Serif");
}

TEST(TextFont, EveryWeightIsTheFaceFontconfigMatches) {
    // Liberation Sans has a regular and a bold face: 100..500 are regular, 600..900 bold,
    // as fontconfig (and so a browser here) matches them.
    for (int weight = 100; weight <= 900; weight += 100) {
        SCOPED_TRACE(weight);
        const TextFont font("Arial", 16, weight, false);
        EXPECT_EQ(font.primaryWeight(), weight >= 600 ? 700 : 400);
    }
    // A bold run is wider than a regular one of the same text.
    EXPECT_GT(TextFont("Arial", 16, 600, false).width("Increase the Font Weight"),
              TextFont("Arial", 16, 400, false).width("Increase the Font Weight") + 5);
}

TEST(TextFont, WidthsAreTheShapedFractionalOnesOfABrowser) {
    // Widths Chromium gives these texts at 16px (getBoundingClientRect of a span).
    const std::string sentence =
        "The the since the from given project every traders water option plan recorded.";
    struct Case {
        const char* family;
        std::string text;
        double chromium;
    };
    const Case cases[] = {
        {"Arial", sentence, 550.515625},
        {"Arial", "Available", 64.640625},  // "Av" is kerned
        {"Times New Roman", sentence, 498.90625},
        {"Times New Roman", "Available", 61.015625},
        {"monospace", sentence, 751.359375},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.family);
        EXPECT_NEAR(TextFont(c.family, 16, 400, false).width(c.text), c.chromium, 0.05);
    }
    const TextFont serif("serif", 16, 400, false);
    EXPECT_EQ(serif.width(""), 0);
    EXPECT_GT(serif.ascent(), serif.xHeight());
    EXPECT_GE(serif.lineHeight(), serif.ascent() + serif.descent());
}

TEST(TextFont, LineMetricsAreTheFacesOwnUprightAndSlanted) {
    // Ascent, descent and line height (with the face's line gap) in whole pixels, as Pango's
    // font metrics give them; the italic Noto faces are upright faces given a synthetic slant.
    struct Case {
        const char* family;
        int pixels;
        int weight;
        bool italic;
        int ascent, descent, lineHeight;
    };
    const Case cases[] = {
        {"Arial", 16, 400, false, 14, 3, 18},
        {"serif", 23, 700, true, 20, 5, 26},
        {"monospace", 11, 400, false, 10, 3, 13},
        {"Courier", 16, 400, true, 13, 5, 18},
        {"Noto Sans CJK JP", 16, 400, false, 19, 5, 24},
        {"Noto Sans Arabic", 16, 400, true, 22, 12, 34},
        {"Noto Sans Devanagari", 23, 700, true, 21, 9, 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.family);
        const TextFont font(c.family, c.pixels, c.weight, c.italic);
        EXPECT_EQ(font.ascent(), c.ascent);
        EXPECT_EQ(font.descent(), c.descent);
        EXPECT_EQ(font.lineHeight(), c.lineHeight);
    }
}

TEST(TextFont, LinesAreAsHighAsChromiumsAtSizesWhereRoundingTheSumDiffers) {
    // Chromium's heights of a line of normal line height: its ascent, descent and line gap
    // each rounded, then added.
    struct Case {
        const char* family;
        int pixels;
        int lineHeight;
    };
    const Case cases[] = {{"serif", 11, 12},      {"serif", 12, 15},     {"serif", 13, 16},
                          {"serif", 24, 27},      {"serif", 36, 42},     {"sans-serif", 22, 26},
                          {"sans-serif", 26, 31}, {"sans-serif", 16, 18}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.family) + " " + std::to_string(c.pixels));
        EXPECT_EQ(TextFont(c.family, c.pixels, 400, false).lineHeight(), c.lineHeight);
    }
}

TEST(TextFont, ScriptsTheFaceLacksFallBackAndAreDrawn) {
    const TextFont font("Arial", 16, 400, false);
    const char* texts[] = {"\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D",          // Hebrew
                           "\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7",  // Arabic
                           "\xE4\xB8\xAD\xE6\x96\x87\xE5\xAD\x97"};     // Chinese
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        EXPECT_GT(font.width(text), 20);
        Canvas canvas(120, 40);
        font.draw(canvas, text, 10, 25, 0xFF000000, 1.0);
        const Ink ink = inkOf(canvas);
        EXPECT_GT(ink.count, 40);
        EXPECT_GE(ink.left, 9);
        EXPECT_LE(ink.right, 10 + font.width(text) + 2);
    }
}

TEST(TextFont, DrawingFollowsTheScaleAndTheClip) {
    const TextFont font("serif", 16, 400, false);
    const double width = font.width("Varnish");
    Canvas once(200, 40);
    font.draw(once, "Varnish", 0, 20, 0xFF000000, 1.0);
    Canvas twice(400, 80);
    font.draw(twice, "Varnish", 0, 20, 0xFF000000, 2.0);
    const Ink small = inkOf(once);
    const Ink large = inkOf(twice);
    EXPECT_NEAR(small.right, width, 2);
    EXPECT_NEAR(large.right, 2 * width, 3);
    EXPECT_GT(large.count, 5 * small.count / 2);

    Canvas clipped(200, 40);
    clipped.setClip({0, 0, 20, 40});
    font.draw(clipped, "Varnish", 0, 20, 0xFF000000, 1.0);
    EXPECT_LT(inkOf(clipped).right, 20);
    // A transparent colour draws nothing.
    Canvas invisible(200, 40);
    font.draw(invisible, "Varnish", 0, 20, 0x00000000, 1.0);
    EXPECT_EQ(inkOf(invisible).count, 0);
}

}  // namespace
