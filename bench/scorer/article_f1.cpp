// How much of the article text a grab with nothing selected keeps on real-shaped pages:
// for every page of a folder (each marks its article with the attribute "data-article"),
// the word-overlap F1 of the text of the block chosen by the layout finder, by the tag
// scorer and by the rule that decides between them (main_element.h), and their means.
// Usage: bench_article_f1 <grab.xml> <folder of pages>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "addon/readable/layout_finder.h"
#include "addon/readable/main_element.h"
#include "addon/readable/readable_scorer.h"
#include "platform/text/utf.h"
#include "testing/text_match/word_overlap.h"

namespace {

using addon::ElementPtr;

std::string readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::wstring articleText(const platform::dom::Document& document) {
    for (const auto& element : *document.all()) {
        if (element->hasAttribute(L"data-article")) {
            return element->innerText();
        }
    }
    return L"";
}

double f1Of(const ElementPtr& chosen, const std::wstring& expected) {
    return chosen ? testing_text_match::wordOverlap(chosen->innerText(), expected).f1 : 0.0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || addon::loadGrabRules(platform::text::fromUtf8(argv[1])) != 0) {
        std::fprintf(stderr, "usage: bench_article_f1 <grab.xml> <folder of pages>\n");
        return 2;
    }
    std::vector<std::filesystem::path> pages;
    for (const auto& entry : std::filesystem::directory_iterator(argv[2])) {
        if (entry.path().extension() == ".html") {
            pages.push_back(entry.path());
        }
    }
    std::sort(pages.begin(), pages.end());
    double layoutSum = 0, tagSum = 0, ruleSum = 0;
    std::printf("%-24s %8s %8s %8s\n", "page", "layout", "tags", "rule");
    for (const auto& path : pages) {
        const auto document = platform::dom::Document::parse(std::string_view(readFile(path)),
                                                             L"file://" + path.wstring());
        const std::wstring expected = articleText(*document);
        const ElementPtr body = document->body();
        const double layout = f1Of(addon::findMainElement(body), expected);
        const double tags = f1Of(addon::scoreByTags(body), expected);
        const double rule = f1Of(addon::findArticleElement(body), expected);
        layoutSum += layout;
        tagSum += tags;
        ruleSum += rule;
        std::printf("%-24s %8.3f %8.3f %8.3f\n", path.stem().string().c_str(), layout, tags, rule);
    }
    const double count = static_cast<double>(std::max<std::size_t>(pages.size(), 1));
    std::printf("%-24s %8.3f %8.3f %8.3f   (%zu pages)\n", "mean F1", layoutSum / count,
                tagSum / count, ruleSum / count, pages.size());
    return 0;
}
