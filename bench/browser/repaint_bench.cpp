// The repaint of the browser window's page view (host/browser/page_picture.h) on the
// generated article page: a 1024x768 view scrolled by a wheel step, a page down, and
// with a selection overlay moved over it, each the median of many repaints; the first
// painting of the view and the layout before it are shown apart, and of each repaint the
// part its layout took. bench_repaint [megabytes]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "bench/dom/generated_page.h"
#include "host/browser/page_picture.h"
#include "platform/dom/document.h"
#include "platform/dom/layout_engine.h"
#include "platform/dom/window.h"

namespace {

namespace dom = platform::dom;
using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void report(const char* what, const std::vector<double>& times, const std::vector<double>& layout) {
    std::printf("%-34s median %7.2f ms (layout %5.2f ms)   max %7.2f ms   (%zu repaints)\n", what,
                median(times), median(layout), *std::max_element(times.begin(), times.end()),
                times.size());
}

}  // namespace

int main(int argc, char** argv) {
    const double megabytes = argc > 1 ? std::atof(argv[1]) : 1.0;
    const std::string markup = bench::generatePage(static_cast<std::size_t>(megabytes * 1e6));
    auto start = Clock::now();
    auto page = dom::Document::parse(std::string_view(markup), L"http://bench.example/page.html");
    page->parentWindow().resizeTo(1024, 768);
    page->layout();
    std::printf("page: %.2f MB, parse and layout %.0f ms, %d px tall\n", markup.size() / 1e6,
                msSince(start), page->layout().contentSize().height);

    host::browser::PagePicture picture;
    start = Clock::now();
    picture.update(*page);
    std::printf("first painting of the view: %.2f ms\n", msSince(start));

    // Each repaint's whole time, and the part of it the page's layout took.
    std::vector<double> layoutTimes;
    const auto timed = [&](const std::function<void(int)>& change, int count) {
        std::vector<double> times;
        layoutTimes.clear();
        for (int i = 0; i < count; ++i) {
            change(i);
            const auto begin = Clock::now();
            page->layout();
            layoutTimes.push_back(msSince(begin));
            picture.update(*page);
            times.push_back(msSince(begin));
        }
        return times;
    };
    const int height = page->layout().contentSize().height;
    report("scroll by a wheel step (48 px)",
           timed([&](int i) { page->parentWindow().scrollTo(0, (i * 48) % (height - 768)); }, 200),
           layoutTimes);
    report("page down (691 px)",
           timed([&](int i) { page->parentWindow().scrollTo(0, (i * 691) % (height - 768)); }, 100),
           layoutTimes);

    // A tracker overlay as the selection engine places one, moved as the pointer goes.
    page->parentWindow().scrollTo(0, 2000);
    auto overlay = page->createElement(L"DIV");
    overlay->setAttribute(L"class", L"__classClip");
    page->body()->insertBefore(overlay, page->body()->firstChild());
    report("overlay moved over the view",
           timed(
               [&](int i) {
                   overlay->setAttribute(
                       L"style", L"position:absolute;left:" + std::to_wstring(20 + i % 7 * 30) +
                                     L"px;top:" + std::to_wstring(2050 + i % 11 * 40) +
                                     L"px;width:400px;height:120px;"
                                     L"border:#ff9900 2px solid;"
                                     L"background-color:#24c136;"
                                     L"filter:alpha(opacity=50);");
               },
               100),
           layoutTimes);
    return 0;
}
