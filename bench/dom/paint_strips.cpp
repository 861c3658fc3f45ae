// Checks and times painting a page by parts: the page file is painted in one piece (its
// first 12,000 px at most) and again in strips as the window paints while scrolling, and
// the pixels where the strips differ from the piece are counted (0 when painting an area
// passes over only what lies outside it). paint_strips page.html [width [strip]]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "bench/dom/bench_page.h"
#include "platform/imaging/canvas/canvas.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: paint_strips page.html [width [strip]]\n");
        return 2;
    }
    const auto page = benchPage(argc, argv);
    if (!page)
        return 1;
    const int width = page->parentWindow().viewport().width;
    const int strip = argc > 3 ? std::max(1, std::atoi(argv[3])) : 97;
    const int height = std::min(page->layout().contentSize().height, 12000);
    using Clock = std::chrono::steady_clock;
    const auto ms = [](Clock::time_point since) {
        return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
    };
    auto begun = Clock::now();
    platform::imaging::Canvas whole(width, height);
    page->layout().paint(whole, {0, 0, width, height});
    const double wholeMs = ms(begun);
    long long differing = 0;
    int strips = 0;
    double stripsMs = 0;
    for (int top = 0; top < height; top += strip, ++strips) {
        platform::imaging::Canvas part(width, strip);
        begun = Clock::now();
        page->layout().paint(part, {0, top, width, top + strip});
        stripsMs += ms(begun);
        for (int y = 0; y < strip && top + y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (part.pixel(x, y) != whole.pixel(x, top + y) && differing++ < 5)
                    std::printf("differs at %d,%d\n", x, top + y);
    }
    std::printf(
        "%s: %d px painted, whole %.1f ms, %d strips of %d px %.2f ms each, "
        "%lld pixels differ\n",
        argv[1], height, wholeMs, strips, strip, stripsMs / std::max(1, strips), differing);
    return differing == 0 ? 0 : 3;
}
