#include "platform/html_input/attribute_limit.h"

#include <algorithm>
#include <array>

#include "platform/html_input/markup_scan.h"
#include "platform/text/html_space.h"

namespace platform::html_input {

namespace {

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// HTML elements that end SVG or MathML content when they start inside it.
bool leavesForeignContent(std::string_view name) {
    static constexpr std::array<std::string_view, 44> kBreakOut = {
        "b",      "big",  "blockquote", "body",  "br",   "center", "code",    "dd",   "div",
        "dl",     "dt",   "em",         "embed", "h1",   "h2",     "h3",      "h4",   "h5",
        "h6",     "head", "hr",         "i",     "img",  "li",     "listing", "menu", "meta",
        "nobr",   "ol",   "p",          "pre",   "ruby", "s",      "small",   "span", "strong",
        "strike", "sub",  "sup",        "table", "tt",   "u",      "ul",      "var"};
    for (const std::string_view element : kBreakOut)
        if (equalsLower(name, element))
            return true;
    return false;
}

struct Tag {
    std::size_t end = 0;                      // after its ">", or the end of the markup
    std::size_t close = 0;                    // where "/>" or ">" begins
    std::size_t count = 0;                    // its attributes
    std::size_t cutFrom = std::string::npos;  // where the attributes beyond the limit begin
    bool selfClosing = false;
};

// Reads the attributes of the tag whose name ends at `at`, as the tokenizer does.
Tag readAttributes(std::string_view markup, std::size_t at, std::size_t maxAttributes) {
    Tag tag;
    const std::size_t size = markup.size();
    std::size_t p = at;
    const auto finish = [&](std::size_t close, std::size_t end) {
        tag.close = close;
        tag.end = end;
        return tag;
    };
    while (true) {
        while (p < size && platform::text::isHtmlSpace(markup[p]))
            ++p;
        if (p >= size)
            return finish(size, size);
        if (markup[p] == '>')
            return finish(p, p + 1);
        if (markup[p] == '/') {
            if (p + 1 < size && markup[p + 1] == '>') {
                tag.selfClosing = true;
                return finish(p, p + 2);
            }
            ++p;
            continue;
        }
        if (++tag.count == maxAttributes + 1)
            tag.cutFrom = p;
        ++p;  // the name's first character may be "="
        while (p < size && !platform::text::isHtmlSpace(markup[p]) && markup[p] != '/' &&
               markup[p] != '>' && markup[p] != '=')
            ++p;
        while (p < size && platform::text::isHtmlSpace(markup[p]))
            ++p;
        if (p >= size || markup[p] != '=')
            continue;
        ++p;
        while (p < size && platform::text::isHtmlSpace(markup[p]))
            ++p;
        if (p >= size)
            return finish(size, size);
        if (markup[p] == '"' || markup[p] == '\'') {
            const std::size_t closing = markup.find(markup[p], p + 1);
            if (closing == std::string_view::npos)
                return finish(size, size);
            p = closing + 1;
            continue;
        }
        if (markup[p] == '>')
            return finish(p, p + 1);
        while (p < size && !platform::text::isHtmlSpace(markup[p]) && markup[p] != '>')
            ++p;
    }
}

}  // namespace

AttributeCut limitAttributes(std::string_view markup, std::size_t maxAttributes) {
    AttributeCut cut;
    std::size_t copied = 0;  // markup before this position is in cut.markup already
    int foreign = 0;         // SVG and MathML elements open
    const std::size_t size = markup.size();
    std::size_t i = 0;
    while ((i = markup.find('<', i)) != std::string_view::npos && i + 1 < size) {
        const char next = markup[i + 1];
        if (markup.compare(i, 4, "<!--") == 0) {
            i = afterComment(markup, i);
            continue;
        }
        if (next == '!' || next == '?') {  // doctype, bogus comment
            const std::size_t close = markup.find('>', i + 2);
            i = close == std::string_view::npos ? size : close + 1;
            continue;
        }
        const bool closing = next == '/';
        const std::size_t nameStart = i + (closing ? 2 : 1);
        if (nameStart >= size || !isAsciiLetter(markup[nameStart])) {
            if (closing) {  // "</>" is nothing, "</" and another character a comment
                const std::size_t close = markup.find('>', nameStart);
                i = close == std::string_view::npos ? size : close + 1;
            } else {
                ++i;
            }
            continue;
        }
        std::size_t nameEnd = nameStart;
        while (nameEnd < size && !platform::text::isHtmlSpace(markup[nameEnd]) &&
               markup[nameEnd] != '/' && markup[nameEnd] != '>')
            ++nameEnd;
        const std::string_view name = markup.substr(nameStart, nameEnd - nameStart);
        const Tag tag = readAttributes(markup, nameEnd, maxAttributes);
        cut.most = std::max(cut.most, tag.count);
        if (tag.cutFrom != std::string::npos) {
            if (!cut.markup) {
                cut.markup.emplace();
                cut.markup->reserve(size);
            }
            cut.markup->append(markup.substr(copied, tag.cutFrom - copied));
            copied = tag.close;
            ++cut.tags;
        }
        i = tag.end;
        const bool svgOrMath = equalsLower(name, "svg") || equalsLower(name, "math");
        if (closing) {
            if (svgOrMath && foreign > 0)
                --foreign;
        } else if (svgOrMath) {
            foreign += tag.selfClosing ? 0 : 1;
        } else if (foreign > 0 && leavesForeignContent(name)) {
            foreign = 0;
        } else if (foreign == 0 && equalsLower(name, "plaintext")) {
            break;
        } else if (foreign == 0 && isRawTextElement(name)) {
            i = findEndTag(markup, i, name);
        }
    }
    if (cut.markup)
        cut.markup->append(markup.substr(copied));
    return cut;
}

}  // namespace platform::html_input
