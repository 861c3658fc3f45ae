// Lays a page file out at a viewport width and prints one line per element in document
// order: index, tag name, then the border box (left top right bottom) or "-" when the
// element has no box. With a third argument, also paints the page into that PNG file.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/dom/document.h"
#include "platform/dom/layout_engine.h"
#include "platform/dom/window.h"
#include "platform/imaging/canvas.h"
#include "platform/text/utf.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: layout_boxes page.html [width] [picture.png]\n");
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    std::stringstream bytes;
    bytes << file.rdbuf();
    const int width = argc > 2 ? std::atoi(argv[2]) : 1024;
    const std::string address = "file://" + std::filesystem::absolute(argv[1]).string();
    auto document = platform::dom::Document::parse(std::string_view(bytes.str()),
                                                   platform::text::fromUtf8(address));
    document->parentWindow().resizeTo(width, 768);
    const auto& layout = document->layout();
    if (!layout.failure().empty()) {
        std::fprintf(stderr, "%s\n", layout.failure().c_str());
        return 1;
    }
    const auto elements = document->all();
    for (std::size_t i = 0; i < elements->size(); ++i) {
        const auto& element = *(*elements)[i];
        const auto box = document->boxOf(element);
        std::printf("%zu %s", i, platform::text::toUtf8(element.tagName()).c_str());
        if (box)
            std::printf(" %d %d %d %d\n", box->left, box->top, box->right, box->bottom);
        else
            std::printf(" -\n");
    }
    if (argc > 3) {
        const auto size = layout.contentSize();
        platform::imaging::Canvas canvas(width, std::min(size.height, 4000));
        layout.paint(canvas, {0, 0, canvas.width(), canvas.height()});
        if (canvas.savePng(argv[3]) != platform::imaging::Status::Ok) {
            std::fprintf(stderr, "cannot write %s\n", argv[3]);
            return 1;
        }
    }
    return 0;
}
