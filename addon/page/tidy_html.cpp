#include "addon/page/tidy_html.h"

#include <tidy/tidy.h>
#include <tidy/tidybuffio.h>

#include <memory>

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
    const std::string input = platform::text::toUtf8(html);
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
