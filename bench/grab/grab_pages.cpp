// The content a Grab with nothing selected keeps, for many pages in one process: every
// page is decoded, parsed and laid out as tamrix-host does it, and the article markup Grab would
// put in the readable page is written to OUT/<name>.html, where <name> is the page's file
// name up to its first dot. Used by real_pages_f1.py --in-process for tuning. With
// GRAB_EXPLAIN set in the environment, every page's line also names the block each finder
// took, the block chosen and how many blocks the story has; with GRAB_EXPLAIN=tree, also
// the blocks around the chosen one up to the body.
// Usage: bench_grab_pages <grab.xml> <out folder> <page.html>...
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "addon/page/text_case.h"
#include "addon/readable/article_markup.h"
#include "addon/readable/layout_finder.h"
#include "addon/readable/main_element.h"
#include "addon/readable/readable_scorer.h"
#include "addon/readable/story_blocks.h"
#include "platform/net/page_charset.h"
#include "platform/text/utf.h"

namespace {

std::string readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// "tag#id.class" of a block, "-" for none.
std::string label(const addon::ElementPtr& element) {
    if (!element) {
        return "-";
    }
    std::wstring text = element->tagName();
    if (const auto id = element->getAttribute(L"id")) {
        text += L"#" + *id;
    }
    if (const auto classes = element->getAttribute(L"class")) {
        text += L"." + *classes;
    }
    return platform::text::toUtf8(text.substr(0, 60));
}

// The blocks around the chosen one, GRAB_EXPLAIN=tree: every block from the chosen one up to
// the body with its children, each with the length of its text, to see what a story's
// neighbours hold.
void printNeighbours(const addon::ElementPtr& chosen) {
    int depth = 0;
    for (addon::ElementPtr block = chosen; block && block->parentElement();
         block = block->parentElement(), ++depth) {
        std::printf("\n  up %d: %s", depth, label(block).c_str());
        for (const auto& child : block->parentElement()->children()) {
            const std::wstring text = addon::trimSpace(child->innerText());
            std::printf("\n      %s %-50s %6zu  %s", child == block ? "*" : " ",
                        label(child).c_str(), text.size(),
                        platform::text::toUtf8(text.substr(0, 50)).c_str());
        }
    }
}

std::string explanation(const addon::ElementPtr& body) {
    const addon::ElementPtr chosen = addon::findArticleElement(body);
    return "layout " + label(addon::findMainElement(body)) + "  tags " +
           label(addon::scoreByTags(body)) + "  chosen " + label(chosen) + "  blocks " +
           std::to_string(addon::storyBlocks(chosen).size());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || addon::loadGrabRules(platform::text::fromUtf8(argv[1])) != 0) {
        std::fprintf(stderr, "usage: bench_grab_pages <grab.xml> <out folder> <page.html>...\n");
        return 2;
    }
    const std::filesystem::path out = argv[2];
    double totalMs = 0;
    for (int i = 3; i < argc; ++i) {
        const std::filesystem::path path = argv[i];
        const auto document = platform::dom::Document::parse(
            std::wstring_view(platform::net::decodePageText(readFile(path), {}).text),
            L"file://" + path.wstring());
        const auto started = std::chrono::steady_clock::now();
        const std::wstring markup = addon::articleMarkup(document->body());
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
                .count();
        totalMs += ms;
        const std::string name = path.filename().string();
        std::ofstream(out / (name.substr(0, name.find('.')) + ".html"), std::ios::binary)
            << platform::text::toUtf8(markup);
        std::printf("%-44s %8.1f ms", name.c_str(), ms);
        if (std::getenv("GRAB_EXPLAIN")) {
            std::printf("  %s", explanation(document->body()).c_str());
            if (std::string(std::getenv("GRAB_EXPLAIN")) == "tree") {
                printNeighbours(addon::findArticleElement(document->body()));
            }
        }
        std::printf("\n");
    }
    std::printf("%d pages, %.1f ms per page (layout included)\n", argc - 3,
                totalMs / std::max(argc - 3, 1));
    return 0;
}
