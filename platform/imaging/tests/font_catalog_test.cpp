#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <vector>

#include "platform/imaging/font_catalog.h"
#include "platform/imaging/font_face.h"

using namespace platform::imaging;

namespace {

std::string fileName(const FontFile& file) {
    return std::filesystem::path(file.path).filename().string();
}

TEST(FontCatalog, PageFamiliesFindTheFacesBrowsersUseHere) {
    EXPECT_EQ(fileName(findFontFile("Arial", 400, false)), "LiberationSans-Regular.ttf");
    EXPECT_EQ(fileName(findFontFile("'Helvetica Neue', Helvetica, sans-serif", 400, false)),
              "LiberationSans-Regular.ttf");
    EXPECT_EQ(fileName(findFontFile("\"Times New Roman\"", 700, false)),
              "LiberationSerif-Bold.ttf");
    EXPECT_EQ(fileName(findFontFile("Courier", 400, true)), "LiberationMono-Italic.ttf");
    // A family the system lacks gives way to the next one of the list.
    EXPECT_EQ(fileName(findFontFile("NoSuchFamilyAnywhere, serif", 400, false)),
              "LiberationSerif-Regular.ttf");
    EXPECT_EQ(fileName(findFontFile("monospace", 400, false)), "DejaVuSansMono.ttf");
    EXPECT_EQ(fileName(findFontFile("DejaVu Sans", 700, false)), "DejaVuSans-Bold.ttf");
    // The font shorthand reaches here with the spaces of family names dropped.
    EXPECT_EQ(fileName(findFontFile("'LiberationSerif'", 400, false)),
              "LiberationSerif-Regular.ttf");
    EXPECT_EQ(fileName(findFontFile("Georgia,'TimesNewRoman',serif", 700, true)),
              "LiberationSerif-BoldItalic.ttf");
    EXPECT_EQ(fileName(findFontFile("CourierNew", 400, false)), "LiberationMono-Regular.ttf");
    EXPECT_EQ(fileName(findFontFile("dejavusansmono", 400, false)), "DejaVuSansMono.ttf");
    EXPECT_EQ(fileName(findFontFile("'HelveticaNeue',serif", 400, false)),
              "LiberationSerif-Regular.ttf");
    // Nothing usable in the list: still a face that loads.
    const FontFile fallback = findFontFile("NoSuchFamilyAnywhere", 400, false);
    EXPECT_TRUE(FontFace(fallback.path, 16, fallback.index).valid());
}

TEST(FontFace, MetricsAndAdvancesFollowTheFace) {
    const FontFile serif = findFontFile("serif", 400, false);
    FontFace small(serif.path, 16, serif.index);
    FontFace large(serif.path, 32, serif.index);
    ASSERT_TRUE(small.valid());
    EXPECT_EQ(small.ascent() + small.descent(), small.lineHeight() - 1);  // its line gap
    EXPECT_GT(large.lineHeight(), 2 * small.lineHeight() - 3);
    EXPECT_GT(small.textWidth(U"WWWW"), 2 * small.textWidth(U"iiii"));
    // Measuring does not disturb drawing: a glyph keeps its pixels after its advance.
    const GlyphImage glyph = small.glyph(U'W');
    EXPECT_EQ(glyph.advance, small.advance(U'W'));
    EXPECT_GT(glyph.width, 0);
    EXPECT_EQ(glyph.coverage.size(), static_cast<std::size_t>(glyph.width * glyph.height));
}

TEST(FontFace, LayoutWidthsAreTheFractionalKernedOnesOfABrowser) {
    // Widths Chromium gives these texts at 16px (getBoundingClientRect of a span).
    const std::u32string sentence =
        U"The the since the from given project every traders water option plan recorded.";
    struct Case {
        const char* family;
        std::u32string text;
        double chromium;
    };
    const Case cases[] = {
        {"Arial", sentence, 550.515625},
        {"Arial", U"Available", 64.640625},  // "Av" is kerned
        {"Times New Roman", sentence, 498.90625},
        {"Times New Roman", U"Available", 61.015625},
        {"monospace", sentence, 751.359375},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.family);
        const FontFile file = findFontFile(c.family, 400, false);
        FontFace face(file.path, 16, file.index);
        std::vector<double> pens;
        EXPECT_NEAR(face.layoutWidth(c.text, &pens), c.chromium, 0.05);
        ASSERT_EQ(pens.size(), c.text.size());
        EXPECT_DOUBLE_EQ(pens.back(), face.layoutWidth(c.text));
        EXPECT_TRUE(std::is_sorted(pens.begin(), pens.end()));
    }
    // The hinted whole-pixel advances of the interface text stay as they were.
    const FontFile arial = findFontFile("Arial", 400, false);
    FontFace face(arial.path, 16, arial.index);
    EXPECT_NE(face.textWidth(sentence), std::lround(face.layoutWidth(sentence)));
}

}  // namespace
