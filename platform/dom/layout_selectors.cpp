#include "platform/dom/layout_selectors.h"

#include <cctype>
#include <vector>

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
            std::string language = unquoted(selector.substr(i + 6, close - i - 6));
            for (char& c : language)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            appendAll(std::string("[") + kLanguageMarkerAttribute + "^=\"" + language + "-\"]");
            i = close + 1;
        } else {
            appendAll(std::string_view(&selector[i], 1));
            ++i;
        }
    }
    return variants;
}

std::string rewritePrelude(std::string_view prelude) {
    if (prelude.find("|=") == std::string_view::npos &&
        prelude.find(":empty") == std::string_view::npos &&
        prelude.find(":lang(") == std::string_view::npos)
        return std::string(prelude);
    std::string out;
    for (const auto& part : splitList(prelude))
        for (const auto& selector : rewriteSelector(part))
            out += (out.empty() ? "" : ",") + selector;
    return out;
}

}  // namespace

std::string selectorsForLayout(std::string_view css) {
    if (css.find("|=") == std::string_view::npos && css.find(":empty") == std::string_view::npos &&
        css.find(":lang(") == std::string_view::npos)
        return std::string(css);
    std::string out;
    out.reserve(css.size() + 64);
    std::size_t preludeStart = 0;
    int depth = 0;  // inside a declaration block
    for (std::size_t i = 0; i < css.size(); ++i) {
        const char c = css[i];
        if (c == '/' && i + 1 < css.size() && css[i + 1] == '*') {
            const std::size_t end = css.find("*/", i + 2);
            i = end == std::string_view::npos ? css.size() - 1 : end + 1;
            continue;
        }
        if (depth > 0) {
            depth += c == '{' ? 1 : c == '}' ? -1 : 0;
            if (depth == 0) {
                out += css.substr(preludeStart, i + 1 - preludeStart);
                preludeStart = i + 1;
            }
            continue;
        }
        if (c == '}' || c == ';') {
            out += css.substr(preludeStart, i + 1 - preludeStart);
            preludeStart = i + 1;
        } else if (c == '{') {
            const std::string_view prelude = css.substr(preludeStart, i - preludeStart);
            const auto first = prelude.find_first_not_of(" \t\r\n");
            if (first != std::string_view::npos && prelude[first] == '@') {
                out += css.substr(preludeStart, i + 1 - preludeStart);  // a group of rules
            } else {
                out += rewritePrelude(prelude);
                out += '{';
                depth = 1;
            }
            preludeStart = i + 1;
        }
    }
    if (preludeStart < css.size())
        out += css.substr(preludeStart);
    return out;
}

}  // namespace platform::dom
