#include <gtest/gtest.h>

#include <filesystem>

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

}  // namespace
