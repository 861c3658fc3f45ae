#include "platform/dom/layout/markup/layout_selectors.h"

#include <cctype>
#include <vector>

#include "platform/dom/style/css_rule_preludes.h"
#include "platform/text/ascii_case.h"

namespace platform::dom {

namespace {

bool isNameByte(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

// The selector list split at commas outside brackets, parentheses and quotes.
std::vector<std::string> splitList(std::string_view prelude) {
    std::vector<std::string> parts(1);
    int depth = 0;
    char quote = 0;
    for (char c : prelude) {
        if (quote) {
            quote = c == quote ? 0 : quote;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '(' || c == '[') {
            ++depth;
        } else if ((c == ')' || c == ']') && depth > 0) {
            --depth;
        } else if (c == ',' && depth == 0) {
            parts.emplace_back();
            continue;
        }
        parts.back() += c;
    }
    return parts;
}

std::string unquoted(std::string_view value) {
    while (!value.empty() && value.front() == ' ')
        value.remove_prefix(1);
    while (!value.empty() && value.back() == ' ')
        value.remove_suffix(1);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

bool startsPseudo(std::string_view selector, std::size_t at, std::string_view name) {
    if (selector.substr(at, name.size()) != name)
        return false;
    const std::size_t end = at + name.size();
    return (at == 0 || selector[at - 1] != ':') &&
           (end == selector.size() || !isNameByte(selector[end]) || name.back() == '(');
}

// One selector to the selectors the engine should be given for it.
std::vector<std::string> rewriteSelector(const std::string& selector) {
    std::vector<std::string> variants{std::string()};
    auto appendAll = [&](std::string_view text) {
        for (auto& variant : variants)
            variant += text;
    };
    for (std::size_t i = 0; i < selector.size();) {
        if (selector[i] == '[') {
            const std::size_t close = selector.find(']', i);
            const std::size_t dash = selector.find("|=", i);
            if (close == std::string::npos)
                return {selector};
            if (dash != std::string::npos && dash < close) {
                const std::string name(selector.substr(i + 1, dash - i - 1));
                const std::string value = unquoted(selector.substr(dash + 2, close - dash - 2));
                std::vector<std::string> doubled;
                for (const auto& variant : variants) {
                    doubled.push_back(variant + "[" + name + "=\"" + value + "\"]");
                    doubled.push_back(variant + "[" + name + "^=\"" + value + "-\"]");
                }
                variants = std::move(doubled);
            } else {
                appendAll(std::string_view(selector).substr(i, close + 1 - i));
            }
            i = close + 1;
        } else if (startsPseudo(selector, i, ":empty")) {
            appendAll(std::string("[") + kEmptyMarkerAttribute + "]");
            i += 6;
        } else if (startsPseudo(selector, i, ":lang(")) {
            const std::size_t close = selector.find(')', i);
            if (close == std::string::npos)
                return {selector};
            const std::string language =
                text::lowerAscii(unquoted(selector.substr(i + 6, close - i - 6)));
            appendAll(std::string("[") + kLanguageMarkerAttribute + "^=\"" + language + "-\"]");
            i = close + 1;
        } else {
            appendAll(std::string_view(&selector[i], 1));
            ++i;
        }
    }
    return variants;
}

// Whether the text holds a selector the engine reads otherwise.
bool needsRewrite(std::string_view text) {
    return text.find("|=") != std::string_view::npos ||
           text.find(":empty") != std::string_view::npos ||
           text.find(":lang(") != std::string_view::npos;
}

std::string rewritePrelude(std::string_view prelude) {
    if (!needsRewrite(prelude))
        return std::string(prelude);
    std::string out;
    for (const auto& part : splitList(prelude))
        for (const auto& selector : rewriteSelector(part))
            out += (out.empty() ? "" : ",") + selector;
    return out;
}

}  // namespace

// How much of a sheet opening with "<![CDATA[" (written for XML readers) a browser loses:
// its brackets are blocks that run to the matching "]]", and they and the rule block after
// them make one rule whose selector no one reads.
std::size_t lostToCdata(std::string_view css) {
    std::size_t at = css.find_first_not_of(" \t\r\n\f");
    if (at == std::string_view::npos || css.substr(at, 9) != "<![CDATA[")
        return 0;
    int brackets = 0;
    int braces = 0;
    for (at += 2; at < css.size(); ++at) {
        const char c = css[at];
        if (c == '"' || c == '\'') {
            for (++at; at < css.size() && css[at] != c && css[at] != '\n'; ++at)
                if (css[at] == '\\')
                    ++at;
        } else if (css.substr(at, 2) == "/*") {
            at = std::min(css.find("*/", at + 2), css.size() - 2) + 1;
        } else if (c == '[') {
            ++brackets;
        } else if (c == ']' && brackets > 0) {
            --brackets;
        } else if (c == '{' && brackets == 0) {
            ++braces;
        } else if (c == '}' && brackets == 0 && braces > 0 && --braces == 0) {
            return at + 1;
        }
    }
    return css.size();
}

std::string selectorsForLayout(std::string_view css) {
    if (const std::size_t lost = lostToCdata(css); lost > 0)
        return selectorsForLayout(css.substr(lost));
    if (!needsRewrite(css))
        return std::string(css);
    std::string out;
    out.reserve(css.size() + 64);
    std::size_t copied = 0;
    forEachRulePrelude(css, [&](std::size_t begin, std::size_t end) {
        out += css.substr(copied, begin - copied);
        out += rewritePrelude(css.substr(begin, end - begin));
        copied = end;
        return true;
    });
    out += css.substr(copied);
    return out;
}

}  // namespace platform::dom
