#include "platform/html_input/nesting_limit.h"

#include "platform/html_input/markup_scan.h"

#include <array>
#include <cctype>

namespace platform::html_input {

namespace {

bool isNameCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == ':' || c == '_';
}

bool isCountedElement(std::string_view name) {
    return equalsLower(name, "div") || equalsLower(name, "span");
}

// The position after the tag that starts at `start` ('<'), skipping quoted attribute values.
std::size_t endOfTag(std::string_view markup, std::size_t start) {
    char quote = 0;
    for (std::size_t i = start + 1; i < markup.size(); ++i) {
        const char c = markup[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i + 1;
        }
    }
    return markup.size();
}

}  // namespace

std::optional<std::string> limitNesting(std::string_view markup, int maxDepth) {
    std::optional<std::string> out;
    int depth = 0;
    int beyond = 0;
    std::size_t copied = 0;  // markup before this position is in `out` already
    auto leaveOut = [&](std::size_t start, std::size_t end) {
        if (!out) {
            out.emplace();
            out->reserve(markup.size());
        }
        out->append(markup.substr(copied, start - copied));
        copied = end;
    };
    std::size_t i = 0;
    while ((i = markup.find('<', i)) != std::string_view::npos) {
        if (markup.substr(i, 4) == "<!--") {
            i = afterComment(markup, i);
            continue;
        }
        const bool closing = i + 1 < markup.size() && markup[i + 1] == '/';
        std::size_t nameStart = i + (closing ? 2 : 1);
        std::size_t nameEnd = nameStart;
        while (nameEnd < markup.size() && isNameCharacter(markup[nameEnd]))
            ++nameEnd;
        if (nameEnd == nameStart) {
            ++i;
            continue;
        }
        const std::string_view name = markup.substr(nameStart, nameEnd - nameStart);
        const std::size_t end = endOfTag(markup, i);
        if (!closing && isRawTextElement(name)) {
            i = findEndTag(markup, end, name);
            continue;
        }
        if (isCountedElement(name)) {
            if (!closing && depth >= maxDepth) {
                ++beyond;
                leaveOut(i, end);
            } else if (!closing) {
                ++depth;
            } else if (beyond > 0) {
                --beyond;
                leaveOut(i, end);
            } else if (depth > 0) {
                --depth;
            }
        }
        i = end;
    }
    if (out)
        out->append(markup.substr(copied));
    return out;
}

}  // namespace platform::html_input
