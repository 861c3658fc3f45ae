#include "common/markup/style_filter.h"

#include <array>
#include <vector>

#include "common/markup/xml_output.h"
#include "platform/text/html_space.h"
#include "platform/text/utf.h"

namespace common::markup {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    return (c | 0x20) - 'a' + 10;
}

void appendCodePoint(std::string& out, char32_t code) {
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        out += kReplacement;
        return;
    }
    out += platform::text::toUtf8(std::wstring(1, static_cast<wchar_t>(code)));
}

// Where the comment that starts at `at` ("/*") ends; an unclosed one runs to the end.
std::size_t afterComment(std::string_view css, std::size_t at) {
    const std::size_t close = css.find("*/", at + 2);
    return close == std::string_view::npos ? css.size() : close + 2;
}

// The declarations of a style attribute as written: split at each ";" that is not inside
// a string, a comment, brackets or an escape.
std::vector<std::string_view> declarationsOf(std::string_view style) {
    std::vector<std::string_view> declarations;
    std::size_t start = 0;
    int depth = 0;
    char quote = 0;
    for (std::size_t i = 0; i < style.size(); ++i) {
        const char c = style[i];
        if (c == '\\') {
            ++i;
        } else if (quote != 0) {
            if (c == quote || c == '\n')
                quote = 0;
        } else if (style.compare(i, 2, "/*") == 0) {
            i = afterComment(style, i) - 1;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '(' || c == '[' || c == '{') {
            ++depth;
        } else if ((c == ')' || c == ']' || c == '}') && depth > 0) {
            --depth;
        } else if (c == ';' && depth == 0) {
            declarations.push_back(style.substr(start, i - start));
            start = i + 1;
        }
    }
    if (start < style.size())
        declarations.push_back(style.substr(start));
    return declarations;
}

// Positions that keep a box in the flow of the page.
bool staysInFlow(std::string_view position) {
    std::string value(platform::text::trimHtmlSpace(position));
    if (const std::size_t bang = value.find('!'); bang != std::string::npos)
        value = std::string(platform::text::trimHtmlSpace(std::string_view(value).substr(0, bang)));
    return value == "static" || value == "relative" || value == "sticky" ||
           value == "-webkit-sticky";
}

bool mayShow(std::string_view declaration) {
    const std::string decoded = lowerAscii(decodeCss(declaration));
    const std::size_t colon = decoded.find(':');
    if (colon == std::string::npos)
        return true;  // a browser ignores it
    const std::string_view name =
        platform::text::trimHtmlSpace(std::string_view(decoded).substr(0, colon));
    if (name == "position")
        return staysInFlow(std::string_view(decoded).substr(colon + 1));
    return true;
}

}  // namespace

std::string decodeCss(std::string_view css) {
    std::string out;
    out.reserve(css.size());
    for (std::size_t i = 0; i < css.size();) {
        if (css.compare(i, 2, "/*") == 0) {
            i = afterComment(css, i);
            continue;
        }
        if (css[i] != '\\') {
            out += css[i++];
            continue;
        }
        ++i;
        if (i == css.size())
            break;
        if (css[i] == '\n' || css[i] == '\f') {
            ++i;
        } else if (css[i] == '\r') {
            i += css.compare(i, 2, "\r\n") == 0 ? 2 : 1;
        } else if (isHexDigit(css[i])) {
            char32_t code = 0;
            for (int digits = 0; digits < 6 && i < css.size() && isHexDigit(css[i]); ++digits)
                code = code * 16 + static_cast<char32_t>(hexValue(css[i++]));
            if (css.compare(i, 2, "\r\n") == 0)
                i += 2;
            else if (i < css.size() && platform::text::isHtmlSpace(css[i]))
                ++i;
            appendCodePoint(out, code);
        } else {
            out += css[i++];
        }
    }
    return out;
}

bool isScriptInCss(std::string_view css) {
    std::string squeezed;
    for (const char c : lowerAscii(decodeCss(css)))
        if (static_cast<unsigned char>(c) > 0x20 && c != 0x7F)
            squeezed += c;
    static constexpr std::array<std::string_view, 5> kRunning = {
        "expression", "javascript:", "vbscript:", "behavior", "-moz-binding"};
    for (const std::string_view word : kRunning)
        if (squeezed.find(word) != std::string::npos)
            return true;
    return false;
}

std::optional<std::string> displayStyle(std::string_view style) {
    if (isScriptInCss(style))
        return std::nullopt;
    std::string kept;
    bool dropped = false;
    for (const std::string_view declaration : declarationsOf(style)) {
        if (!mayShow(declaration)) {
            dropped = true;
            continue;
        }
        if (platform::text::trimHtmlSpace(declaration).empty())
            continue;
        if (!kept.empty())
            kept += ';';
        kept += declaration;  // as written: a blank may be escaped
    }
    return dropped ? kept : std::string(style);
}

}  // namespace common::markup
