// Lays a page file out and prints everything the layout answers, so that two builds can be
// compared line by line (a change meant to make layout quicker must leave this output as
// it was): the content size, then every node in document order, elements with their
// border box and client rectangles, text nodes with the rectangles of each of their
// words and of their whole text (layout_boxes paints a page, to compare its pictures):
// layout_dump page.html [width]
#include <cstdio>
#include <vector>

#include "bench/dom/bench_page.h"
#include "platform/dom/document.h"
#include "platform/dom/element.h"
#include "platform/dom/layout_engine.h"
#include "platform/dom/node.h"
#include "platform/text/utf.h"

namespace {

using platform::dom::Rect;

void printRects(const std::vector<Rect>& rects) {
    for (const Rect& rect : rects)
        std::printf(" [%d %d %d %d]", rect.left, rect.top, rect.right, rect.bottom);
    std::printf("\n");
}

void dump(const platform::dom::LayoutEngine& layout, const platform::dom::Node& node) {
    if (node.nodeType() == platform::dom::NodeType::Element) {
        const auto& element = static_cast<const platform::dom::Element&>(node);
        std::printf("%s", platform::text::toUtf8(element.tagName()).c_str());
        if (const auto box = layout.borderBox(element))
            std::printf(" %d %d %d %d |", box->left, box->top, box->right, box->bottom);
        else
            std::printf(" - |");
        printRects(layout.clientRects(element));
    } else if (node.nodeType() == platform::dom::NodeType::Text) {
        const auto& text = static_cast<const platform::dom::Text&>(node);
        const std::wstring& data = text.data();
        std::printf("#text %zu |", data.size());
        printRects(layout.textRects(text, 0, data.size()));
        // Each word on its own: the pieces of runs are measured, not only whole runs.
        for (std::size_t begin = 0; begin < data.size();) {
            std::size_t end = data.find(L' ', begin + 1);
            end = end == std::wstring::npos ? data.size() : end;
            std::printf("  %zu-%zu", begin, end);
            printRects(layout.textRects(text, begin, end));
            begin = end;
        }
    }
    for (const auto& child : node.childNodes())
        dump(layout, *child);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: layout_dump page.html [width]\n");
        return 2;
    }
    const auto document = benchPage(argc, argv);
    if (!document)
        return 1;
    const auto& layout = document->layout();
    const auto size = layout.contentSize();
    std::printf("content %d %d\n", size.width, size.height);
    dump(layout, *document);
    return 0;
}
