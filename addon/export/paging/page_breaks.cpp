#include "addon/export/paging/page_breaks.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cstdint>

namespace addon {

namespace {

using platform::imaging::Bitmap;
using platform::imaging::Rect;

// (red / 8) + (green / 8) + (blue / 4) ranges from 0 to 125.
constexpr int kToneCount = 126;

int toneOf(const std::uint8_t* bgr) {
    return bgr[2] / 8 + bgr[1] / 8 + bgr[0] / 4;
}

struct RowCounts {
    std::vector<int> wholeTones;     // distinct tones across the whole row
    std::vector<int> tones;          // distinct tones in the row's middle part
    std::vector<int> frequentTones;  // of those, the tones frequent in the whole picture
};

RowCounts countRowTones(const Bitmap& bitmap, int pageWidth) {
    const int width = std::min(pageWidth, bitmap.width());
    const int height = bitmap.height();
    const auto pixels = bitmap.copyRgb24({0, 0, width, height});
    const std::size_t stride = static_cast<std::size_t>(width) * 3;

    std::array<long long, kToneCount> histogram{};
    for (std::size_t i = 0; i < pixels.size(); i += 3) {
        ++histogram[toneOf(&pixels[i])];
    }
    const long long frequentAt = static_cast<long long>(width) * height / 100;
    std::bitset<kToneCount> frequent;
    for (int tone = 0; tone < kToneCount; ++tone) {
        frequent[tone] = histogram[tone] >= frequentAt;
    }

    // The margins of a tenth of the page width on each side are left out.
    const int margin = pageWidth / 10;
    RowCounts counts{std::vector<int>(height), std::vector<int>(height), std::vector<int>(height)};
    for (int y = 0; y < height; ++y) {
        std::bitset<kToneCount> seen;
        std::bitset<kToneCount> seenInMargins;
        for (int x = 0; x < width; ++x) {
            const int tone = toneOf(&pixels[y * stride + static_cast<std::size_t>(x) * 3]);
            if (x >= margin && x < width - margin)
                seen[tone] = true;
            else
                seenInMargins[tone] = true;
        }
        counts.wholeTones[y] = static_cast<int>((seen | seenInMargins).count());
        counts.tones[y] = static_cast<int>(seen.count());
        counts.frequentTones[y] = static_cast<int>((seen & frequent).count());
    }
    return counts;
}

// The nearest row at or above `target`, within `window` rows and below `top`, whose
// count is 1; -1 when there is none.
int searchUpward(const std::vector<int>& counts, int target, int top, int window) {
    for (int row = target; row > top && row > target - window; --row) {
        if (counts[row] == 1) {
            return row;
        }
    }
    return -1;
}

// The break searched for near `target`: the nearest row of one tone above it (see the
// header), else the target itself.
int breakNear(const RowCounts& counts, int target, int top, int window) {
    // A row of one tone across the whole width first: text that starts at the page's
    // edge (a page laid out without padding) lies in the margins the other counts
    // leave out, and cutting there would split its line between two pages.
    for (const std::vector<int>* rows :
         {&counts.wholeTones, &counts.tones, &counts.frequentTones}) {
        const int found = searchUpward(*rows, target, top, window);
        if (found >= 0)
            return found;
    }
    return target;
}

}  // namespace

std::vector<Rect> findPageBreaks(const Bitmap& bitmap, int pageWidth, int pageHeight,
                                 const std::vector<RowSpan>& keepWhole) {
    std::vector<Rect> slices;
    const int height = bitmap.height();
    const RowCounts counts = countRowTones(bitmap, pageWidth);
    const int window = pageHeight / 4 > 63 ? pageHeight / 4 : 64;
    int top = 0;
    while (top + pageHeight < height) {
        int found = breakNear(counts, top + pageHeight, top, window);
        // Each move goes up, and never to the page's top: the loop ends.
        for (bool moved = true; moved;) {
            moved = false;
            for (const RowSpan& picture : keepWhole) {
                const bool cut = picture.top < found && found < picture.bottom;
                if (cut && picture.top > top && picture.bottom - picture.top <= pageHeight) {
                    found = breakNear(counts, picture.top, top, window);
                    moved = true;
                }
            }
        }
        slices.push_back({0, top, pageWidth, found});
        top = found;
    }
    if (top < height) {
        slices.push_back({0, top, pageWidth, height});
    }
    return slices;
}

int findColumnCut(const Bitmap& bitmap, const Rect& rows, int left, int pageWidth) {
    const int end = left + pageWidth;
    if (end >= rows.right)
        return rows.right;
    const int first = std::max(left + 1, end - pageWidth / 4);
    const Rect window{first, rows.top, end + 1, rows.bottom};
    const auto pixels = bitmap.copyRgb24(window);
    const std::size_t stride = static_cast<std::size_t>(window.width()) * 3;
    for (int x = end; x >= first; --x) {
        const std::uint8_t* top = &pixels[static_cast<std::size_t>(x - first) * 3];
        bool oneColour = true;
        for (int y = 1; y < rows.height() && oneColour; ++y)
            oneColour = std::equal(top, top + 3, top + y * stride);
        if (oneColour)
            return x;
    }
    return end;
}

int contentHeight(const Bitmap& bitmap) {
    const int width = bitmap.width();
    int rows = bitmap.height();
    if (rows == 0 || width == 0)
        return rows;
    const auto pixels = bitmap.copyRgb24({0, 0, width, rows});
    const std::size_t stride = static_cast<std::size_t>(width) * 3;
    const std::uint8_t* background = &pixels[(rows - 1) * stride];
    for (int x = 1; x < width; ++x)
        if (!std::equal(background, background + 3, background + x * 3))
            return rows;
    const auto rowIsBackground = [&](int y) {
        const std::uint8_t* row = &pixels[y * stride];
        for (int x = 0; x < width; ++x)
            if (!std::equal(background, background + 3, row + x * 3))
                return false;
        return true;
    };
    while (rows > 0 && rowIsBackground(rows - 1))
        --rows;
    return rows;
}

}  // namespace addon
