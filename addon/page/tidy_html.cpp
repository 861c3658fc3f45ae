#include "addon/page/tidy_html.h"

#include <tidy/tidy.h>
#include <tidy/tidybuffio.h>

#include <algorithm>
#include <array>
#include <cwctype>
#include <memory>
#include <string_view>

#include "addon/page/text_case.h"
#include "platform/text/utf.h"

namespace addon {
namespace {

struct TidyDocument {
    TidyDoc doc = tidyCreate();
    TidyBuffer errors{};
    TidyBuffer output{};

    TidyDocument() {
        tidyBufInit(&errors);
        tidyBufInit(&output);
        tidySetErrorBuffer(doc, &errors);
    }
    ~TidyDocument() {
        tidyBufFree(&output);
        tidyBufFree(&errors);
        tidyRelease(doc);
    }
    TidyDocument(const TidyDocument&) = delete;
    TidyDocument& operator=(const TidyDocument&) = delete;
};

void setBuiltInOptions(TidyDoc doc) {
    tidyOptSetBool(doc, TidyXhtmlOut, yes);
    tidyOptSetValue(doc, TidyCharEncoding, "utf8");
    tidyOptSetValue(doc, TidyInCharEncoding, "utf8");
    tidyOptSetValue(doc, TidyOutCharEncoding, "utf8");
    // Not "bare": it turns curly quotes, apostrophes and dashes into ASCII, changing the
    // clip's text. Word's own markup is stripped by "word-2000" instead, which acts only
    // on documents that Word wrote.
    tidyOptSetBool(doc, TidyMakeBare, no);
    tidyOptSetBool(doc, TidyWord2000, yes);
    tidyOptSetBool(doc, TidyMakeClean, yes);
    tidyOptSetBool(doc, TidyNumEntities, yes);
    tidyOptSetBool(doc, TidyMark, no);
    tidyOptSetBool(doc, TidyForceOutput, yes);
}

bool isInlineTag(std::wstring_view name) {
    static constexpr std::array<std::wstring_view, 24> kInline = {
        L"a",    L"abbr",   L"b",      L"big",  L"cite", L"code", L"dfn",  L"em",
        L"font", L"i",      L"kbd",    L"mark", L"q",    L"s",    L"samp", L"small",
        L"span", L"strike", L"strong", L"sub",  L"sup",  L"tt",   L"u",    L"var"};
    return std::find(kInline.begin(), kInline.end(), name) != kInline.end();
}

// Whether the element's content is kept as written: no white space of it may change.
bool isVerbatimTag(std::wstring_view name) {
    return name == L"pre" || name == L"textarea" || name == L"script" || name == L"style" ||
           name == L"xmp" || name == L"listing";
}

// The end of the tag opening at `start` (one past its '>'), quoted values skipped.
std::size_t tagEnd(const std::wstring& html, std::size_t start) {
    wchar_t quote = 0;
    for (std::size_t i = start + 1; i < html.size(); ++i) {
        if (quote) {
            quote = html[i] == quote ? 0 : quote;
        } else if (html[i] == L'"' || html[i] == L'\'') {
            quote = html[i];
        } else if (html[i] == L'>') {
            return i + 1;
        }
    }
    return html.size();
}

// Where the end tag of the element `name` starts at or after `from`; the end of the markup
// when it has none.
std::size_t closingTag(const std::wstring& html, std::size_t from, const std::wstring& name) {
    for (std::size_t at = html.find(L"</", from); at != std::wstring::npos;
         at = html.find(L"</", at + 2)) {
        if (lowerText(html.substr(at + 2, name.size())) == name) {
            return at;
        }
    }
    return html.size();
}

// Tidy drops the white space after an inline element's end tag where text stands directly
// in a list or a table (not valid there, but found on saved pages): "<i>create</i> video"
// came out as "createvideo". A space written as a character reference survives, so the
// first white space after such an end tag is written as one. Comments and the content of
// PRE, TEXTAREA, SCRIPT and STYLE are left as they are.
std::wstring keepSpacesAfterInlineEnds(const std::wstring& html) {
    std::wstring kept;
    kept.reserve(html.size() + html.size() / 64);
    std::size_t i = 0;
    while (i < html.size()) {
        const std::size_t open = html.find(L'<', i);
        if (open == std::wstring::npos) {
            break;
        }
        kept.append(html, i, open - i);
        if (html.compare(open, 4, L"<!--") == 0) {
            const std::size_t close = html.find(L"-->", open + 4);
            const std::size_t end = close == std::wstring::npos ? html.size() : close + 3;
            kept.append(html, open, end - open);
            i = end;
            continue;
        }
        const bool closing = open + 1 < html.size() && html[open + 1] == L'/';
        const std::size_t nameStart = open + (closing ? 2 : 1);
        std::size_t nameEnd = nameStart;
        while (nameEnd < html.size() && std::iswalnum(html[nameEnd])) {
            ++nameEnd;
        }
        const std::wstring name = lowerText(html.substr(nameStart, nameEnd - nameStart));
        std::size_t end = tagEnd(html, open);
        if (!closing && isVerbatimTag(name)) {
            end = closingTag(html, end, name);
        }
        kept.append(html, open, end - open);
        i = end;
        // Markup's own white space only: a no-break space stays what it is.
        if (closing && isInlineTag(name) && i < html.size() &&
            std::wstring_view(L" \t\n\r\f").find(html[i]) != std::wstring_view::npos) {
            kept += L"&#32;";
            ++i;
        }
    }
    kept.append(html, std::min(i, html.size()));
    return kept;
}

}  // namespace

int tidyHtml(const std::wstring& html, std::wstring& out, const std::wstring& configFile) {
    if (html.empty()) {
        return 1;
    }
    TidyDocument tidy;
    bool configured = true;
    if (!configFile.empty()) {
        configured = tidyLoadConfig(tidy.doc, platform::text::toUtf8(configFile).c_str()) == 0;
    }
    if (configFile.empty() || !configured) {
        setBuiltInOptions(tidy.doc);
    }
    if (!configured) {
        return 0;
    }
    const std::string input = platform::text::toUtf8(keepSpacesAfterInlineEnds(html));
    int status = tidyParseString(tidy.doc, input.c_str());
    if (status >= 0) {
        status = tidyCleanAndRepair(tidy.doc);
    }
    if (status >= 0) {
        status = tidyRunDiagnostics(tidy.doc);
    }
    if (status > 1 && !tidyOptGetBool(tidy.doc, TidyForceOutput)) {
        status = -1;
    }
    if (status >= 0) {
        status = tidySaveBuffer(tidy.doc, &tidy.output);
    }
    if (status >= 0 && tidy.output.size > 0) {
        out = platform::text::fromUtf8(
            std::string_view(reinterpret_cast<const char*>(tidy.output.bp), tidy.output.size));
    }
    return 0;
}

bool extractTidyBody(const std::wstring& document, std::wstring& body) {
    const auto bodyTag = document.find(L"<body");
    if (bodyTag == std::wstring::npos) {
        return false;
    }
    const auto open = document.find(L'>', bodyTag);
    if (open == std::wstring::npos) {
        return false;
    }
    const auto close = document.find(L"</body>", open);
    if (close == std::wstring::npos) {
        return false;
    }
    std::wstring styles;
    for (auto start = document.find(L"<style"); start < bodyTag;
         start = document.find(L"<style", start + 1)) {
        const auto end = document.find(L"</style>", start);
        if (end == std::wstring::npos || end > bodyTag) {
            break;
        }
        styles += document.substr(start, end + 8 - start);
    }
    body = styles + document.substr(open + 1, close - open - 1);
    return true;
}

}  // namespace addon
