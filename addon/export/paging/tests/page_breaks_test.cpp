#include <gtest/gtest.h>

#include "addon/export/paging/page_breaks.h"

using namespace platform::imaging;
using addon::findPageBreaks;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFF;
const std::uint32_t kPattern[] = {kWhite, 0xFF000000, 0xFF808080, 0xFF303030};

// Rows like lines of text: four frequent tones across every row.
Bitmap textLike(int width, int height) {
    Bitmap bitmap(width, height, PixelFormat::Rgb24);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bitmap.setPixel(x, y, kPattern[(x / 3 + y) % 4]);
        }
    }
    return bitmap;
}

Bitmap filled(int width, int height, std::uint32_t colour) {
    Bitmap bitmap(width, height, PixelFormat::Rgb24);
    bitmap.fill(colour);
    return bitmap;
}

void blankRow(Bitmap& bitmap, int y) {
    for (int x = 0; x < bitmap.width(); ++x) {
        bitmap.setPixel(x, y, kWhite);
    }
}

std::vector<std::pair<int, int>> spans(const std::vector<Rect>& slices) {
    std::vector<std::pair<int, int>> out;
    for (const Rect& slice : slices) {
        EXPECT_EQ(slice.left, 0);
        out.emplace_back(slice.top, slice.bottom);
    }
    return out;
}

using Spans = std::vector<std::pair<int, int>>;

}  // namespace

TEST(PageBreaks, CutsAtTheNearestSingleToneRowAboveEachPageHeight) {
    Bitmap bitmap = textLike(100, 250);
    blankRow(bitmap, 80);
    blankRow(bitmap, 170);
    blankRow(bitmap, 30);  // outside the 64-row window above the first target (100)
    const auto slices = findPageBreaks(bitmap, 100, 100);
    EXPECT_EQ(spans(slices), (Spans{{0, 80}, {80, 170}, {170, 250}}));
    EXPECT_EQ(slices[0].right, 100);

    // A picture no taller than a page is one slice.
    EXPECT_EQ(spans(findPageBreaks(textLike(100, 100), 100, 100)), (Spans{{0, 100}}));
}

TEST(PageBreaks, FallsBackToOneFrequentToneAndThenToThePageHeight) {
    // Row 60 is white but for one pixel of a colour found nowhere else: two tones, of
    // which only white is frequent.
    Bitmap bitmap = textLike(100, 150);
    blankRow(bitmap, 60);
    bitmap.setPixel(50, 60, 0xFFFF0000);
    EXPECT_EQ(spans(findPageBreaks(bitmap, 100, 100)), (Spans{{0, 60}, {60, 150}}));

    // Nothing to cut at: the page height itself.
    EXPECT_EQ(spans(findPageBreaks(textLike(100, 150), 100, 100)), (Spans{{0, 100}, {100, 150}}));

    // The margins (a tenth of the page width on each side) do not count: a row that is
    // white only between them is still a single-tone row.
    Bitmap margins = textLike(100, 150);
    for (int x = 10; x < 90; ++x) {
        margins.setPixel(x, 70, kWhite);
    }
    EXPECT_EQ(spans(findPageBreaks(margins, 100, 100)), (Spans{{0, 70}, {70, 150}}));
}

TEST(PageBreaks, AShortLineAtThePagesEdgeIsNotCutThrough) {
    // A full line of text at rows 70..80, white under it, then a last word in the left
    // margin at rows 92..106 across the page height (100): the cut goes above the word.
    Bitmap bitmap(100, 150, PixelFormat::Rgb24);
    bitmap.fill(kWhite);
    for (int y = 70; y < 80; ++y)
        for (int x = 0; x < 100; ++x)
            bitmap.setPixel(x, y, kPattern[(x / 3 + y) % 4]);
    for (int y = 92; y < 106; ++y)
        for (int x = 0; x < 8; ++x)
            bitmap.setPixel(x, y, 0xFF000000);
    EXPECT_EQ(spans(findPageBreaks(bitmap, 100, 100)), (Spans{{0, 91}, {91, 150}}));
}

TEST(PageBreaks, ShortPagesNeverGiveEmptySlices) {
    // With pages shorter than the 64-row window the search could reach back to the
    // previous break, a single-tone row itself; every slice must still move on.
    Bitmap bitmap = textLike(40, 40);
    blankRow(bitmap, 5);
    const auto slices = findPageBreaks(bitmap, 40, 10);
    EXPECT_EQ(spans(slices), (Spans{{0, 5}, {5, 15}, {15, 25}, {25, 35}, {35, 40}}));

    // Pictures narrower than the page are measured over their own width.
    Bitmap narrow = textLike(30, 250);
    blankRow(narrow, 90);
    EXPECT_EQ(spans(findPageBreaks(narrow, 100, 100)).front(), (std::pair<int, int>{0, 90}));
}

TEST(PageBreaks, APictureThatFitsOnAPageStartsTheNextPageWhole) {
    // Text with blank rows every 20 rows; a picture at rows 130..210 (no blank rows) lies
    // across the page height (200), deeper than the 64-row window reaches.
    Bitmap bitmap = textLike(100, 400);
    for (int y = 9; y < 130; y += 20)
        blankRow(bitmap, y);
    for (int y = 229; y < 400; y += 20)
        blankRow(bitmap, y);
    const std::vector<addon::RowSpan> picture = {{130, 210}};
    // Without the picture the cut goes through it at the page height.
    EXPECT_EQ(spans(findPageBreaks(bitmap, 100, 200)).front(), (std::pair<int, int>{0, 200}));
    // With it the cut goes to the blank row above it.
    EXPECT_EQ(spans(findPageBreaks(bitmap, 100, 200, picture)),
              (Spans{{0, 129}, {129, 329}, {329, 400}}));

    // Pictures just touching the break, and pictures taller than a page, are cut as before.
    const std::vector<addon::RowSpan> notCut = {{200, 260}, {20, 230}};
    EXPECT_EQ(spans(findPageBreaks(textLike(100, 400), 100, 200, notCut)).front(),
              (std::pair<int, int>{0, 200}));
    // A picture starting at the page's top keeps a break found inside it (a row of one tone
    // in the picture): moving the break to its top would leave an empty page.
    Bitmap photo = textLike(100, 400);
    blankRow(photo, 170);
    const std::vector<addon::RowSpan> atTop = {{0, 190}};
    EXPECT_EQ(spans(findPageBreaks(photo, 100, 200, atTop)).front(), (std::pair<int, int>{0, 170}));
}

TEST(PageBreaks, ContentEndsAtTheLastRowOtherThanTheBottomRowsColour) {
    Bitmap bitmap = filled(50, 100, kWhite);
    bitmap.setPixel(10, 59, 0xFF000000);
    EXPECT_EQ(addon::contentHeight(bitmap), 60);
    EXPECT_EQ(addon::contentHeight(filled(50, 100, 0xFF202020)), 0) << "nothing shows";
    bitmap.setPixel(49, 99, 0xFF000000);
    EXPECT_EQ(addon::contentHeight(bitmap), 100) << "the bottom row shows something";
    // A band of another colour at the foot: the rows of its colour under its text go.
    Bitmap band = filled(50, 100, kWhite);
    for (int y = 70; y < 100; ++y)
        for (int x = 0; x < 50; ++x)
            band.setPixel(x, y, 0xFF0000FF);
    band.setPixel(5, 80, kWhite);
    EXPECT_EQ(addon::contentHeight(band), 81);
}
