// Lays a page file out at a viewport width and prints one line per element in document
// order: index, tag name, then the border box (left top right bottom) or "-" when the
// element has no box. With a third argument, also paints the page into that PNG file.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "bench/dom/bench_page.h"
#include "platform/dom/document.h"
#include "platform/dom/layout_engine.h"
#include "platform/dom/window.h"
#include "platform/imaging/canvas/canvas.h"
#include "platform/text/utf.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: layout_boxes page.html [width] [picture.png]\n");
        return 2;
    }
    const auto document = benchPage(argc, argv);
    if (!document)
        return 1;
    const auto elements = document->all();
    std::size_t i = 0;
    for (const auto& each : *elements) {
        const auto& element = *each;
        const auto box = document->boxOf(element);
        std::printf("%zu %s", i++, platform::text::toUtf8(element.tagName()).c_str());
        if (box)
            std::printf(" %d %d %d %d\n", box->left, box->top, box->right, box->bottom);
        else
            std::printf(" -\n");
    }
    if (argc > 3) {
        const auto& layout = document->layout();
        const auto size = layout.contentSize();
        platform::imaging::Canvas canvas(document->parentWindow().innerWidth(),
                                         std::clamp(size.height, 1, 4000));
        layout.paint(canvas, {0, 0, canvas.width(), canvas.height()});
        if (canvas.savePng(argv[3]) != platform::imaging::Status::Ok) {
            std::fprintf(stderr, "cannot write %s\n", argv[3]);
            return 1;
        }
    }
    return 0;
}
