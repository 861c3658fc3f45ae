// Lays a page file out at a viewport width and prints, for every shown paragraph-like
// element (p, li, h1-h6, td, dd, blockquote, figcaption) that holds text, the client
// rectangles of two text ranges: "W" its whole content, and "S" the characters 3 to
// length-3 of its first text node of at least 20 characters that are not blanks. One line per
// range:
//   index tag kind box(l t r b) | l t r b | l t r b ...
// in document coordinates (the page is not scrolled), for text_ranges_vs_chromium.py.
//   text_range_rects page.html [width]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "bench/dom/bench_page.h"
#include "platform/dom/document.h"
#include "platform/dom/layout_engine.h"
#include "platform/dom/text_range.h"
#include "platform/dom/window.h"
#include "platform/text/utf.h"

using namespace platform::dom;

namespace {

bool measured(const Element& element) {
    static constexpr const wchar_t* kTags[] = {L"P",  L"LI", L"H1",         L"H2",
                                               L"H3", L"H4", L"H5",         L"H6",
                                               L"TD", L"DD", L"BLOCKQUOTE", L"FIGCAPTION"};
    for (const wchar_t* tag : kTags)
        if (element.hasTag(tag))
            return true;
    return false;
}

// The first text node below `node` with at least `least` characters that are not blanks.
std::shared_ptr<Node> firstLongText(const std::shared_ptr<Node>& node, std::size_t least) {
    for (const auto& child : node->childNodes()) {
        if (child->nodeType() == NodeType::Text) {
            const std::wstring& data = static_cast<const Text&>(*child).data();
            if (std::count_if(data.begin(), data.end(), [](wchar_t c) {
                    return !std::iswspace(c);
                }) >= static_cast<std::ptrdiff_t>(least))
                return child;
        } else if (child->nodeType() == NodeType::Element) {
            const auto& element = static_cast<const Element&>(*child);
            if (element.hasTag(L"SCRIPT") || element.hasTag(L"STYLE"))
                continue;
            if (auto found = firstLongText(child, least))
                return found;
        }
    }
    return nullptr;
}

// The element's text as its nodes hold it (scripts and sheets left out), blanks collapsed,
// at most 80 characters: what the comparison finds the same element by in both engines.
void collectText(const Node& node, std::wstring& out) {
    for (const auto& child : node.childNodes()) {
        if (out.size() > 80)
            return;
        if (child->nodeType() == NodeType::Text) {
            for (wchar_t c : static_cast<const Text&>(*child).data()) {
                const bool blank = std::iswspace(c);
                if (!blank)
                    out += c;
                else if (!out.empty() && out.back() != L' ')
                    out += L' ';
            }
        } else if (child->nodeType() == NodeType::Element) {
            const auto& element = static_cast<const Element&>(*child);
            if (!element.hasTag(L"SCRIPT") && !element.hasTag(L"STYLE"))
                collectText(*child, out);
        }
    }
}

std::string signature(const Element& element) {
    std::wstring text;
    collectText(element, text);
    text = text.substr(0, 80);
    while (!text.empty() && text.back() == L' ')
        text.pop_back();
    return platform::text::toUtf8(text);
}

void print(const Element& element, char kind, const Rect& box, const TextRange& range) {
    std::printf("%s %c %d %d %d %d", platform::text::toUtf8(element.tagName()).c_str(), kind,
                box.left, box.top, box.right, box.bottom);
    for (const Rect& rect : range.getClientRects())
        std::printf(" | %d %d %d %d", rect.left, rect.top, rect.right, rect.bottom);
    std::printf(" || %s\n", signature(element).c_str());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: text_range_rects page.html [width]\n");
        return 2;
    }
    const auto document = benchPage(argc, argv);
    if (!document)
        return 1;
    const auto elements = document->all();
    for (const auto& element : *elements) {
        const auto box = document->boxOf(*element);
        if (!measured(*element) || !box || box->isEmpty())
            continue;
        auto whole = document->selection().createRange();
        whole->moveToElementText(element);
        if (whole->text().empty())
            continue;
        print(*element, 'W', *box, *whole);
        if (auto text = firstLongText(element, 20)) {
            const std::size_t length = static_cast<const Text&>(*text).data().size();
            const TextRange part(document, {text, 3}, {text, length - 3});
            print(*element, 'S', *box, part);
        }
    }
    return 0;
}
