#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "common/sqlite/sqlite_exception.h"
#include "common/util/string_tools.h"
#include "tarn/engine/placeholders.h"
#include "tarn/engine/tarn_page.h"
#include "tarn/engine/tarn_request.h"
#include "tarn/expression/parser_exception.h"

namespace tarn {
namespace {

const common::StringPair* findPair(const Parameters& pairs, const std::wstring& name) {
    for (const common::StringPair& pair : pairs) {
        if (pair.name == name) {
            return &pair;
        }
    }
    return nullptr;
}

// Replaces each `from` in `text`; the search skips ahead by the pattern's length
// instead of stopping at every byte that starts it (pages are full of "<").
void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    const std::boyer_moore_horspool_searcher searcher(from.begin(), from.end());
    std::string replaced;
    auto copied = text.cbegin();
    for (auto at = std::search(copied, text.cend(), searcher); at != text.cend();
         at = std::search(copied, text.cend(), searcher)) {
        replaced.append(copied, at);
        replaced += to;
        copied = at + static_cast<std::ptrdiff_t>(from.size());
    }
    if (copied == text.cbegin()) {
        return;
    }
    replaced.append(copied, text.cend());
    text = std::move(replaced);
}

}  // namespace

int TarnPage::execute(const Parameters& parameters) {
    try {
        Parameters working = parameters;
        for (const StylesheetVariable& variable : variables_) {
            std::wstring value = variable.select;
            if (value.find(L"{$") != std::wstring::npos) {
                // An unchanged stylesheet keeps its compiled form for the next request.
                const std::wstring select = substitutePlaceholders(
                    variable.select, nullptr, working, PlaceholderSyntax::XPath);
                std::wstring current;
                variable.element.GetAttribute(L"select", current);
                if (current != select) {
                    variable.element.SetAttribute(L"select", select);
                }
                value = substitutePlaceholders(variable.select, nullptr, working,
                                               PlaceholderSyntax::Text);
            }
            if (value.size() > 1 && value.front() == L'\'' && value.back() == L'\'') {
                value = value.substr(1, value.size() - 2);
            }
            if (findPair(working, variable.name) == nullptr) {
                working.push_back({variable.name, value});
            }
        }
        xml_ = newResultDocument(std::move(xml_));
        const int result = block_.execute(working, xml_);
        xml_.ReleaseReplaced();
        return result;
    } catch (const common::CComException&) {
    } catch (const common::SqliteException&) {
    } catch (const CParserException&) {
    }
    return -1;
}

bool TarnPage::transform() {
    content_.clear();
    contentUrl_.clear();
    contentStamp_.clear();
    checksum_ = 0;
    std::string output;
    try {
        output = xml_.TransformNodeUtf8(xsl_, lastOutputSize_);
        lastOutputSize_ = output.size();
    } catch (const common::CComException&) {
        return false;
    }
    // The output is UTF-8: declarations of UTF-16, or of no charset, that the stylesheet
    // writes itself would make a browser misread it. Other types are served as written.
    const std::wstring type = getContentType();
    if (type == L"text/html") {
        const char* const kUtf8Meta =
            "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">";
        replaceAll(output,
                   "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-16\">",
                   kUtf8Meta);
        replaceAll(output, "<META http-equiv=\"Content-Type\" content=\"text/html\">", kUtf8Meta);
    } else if (type == L"text/xml") {
        replaceAll(output, "<?xml version=\"1.0\" encoding=\"UTF-16\"?>",
                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    }
    content_ = std::move(output);
    return true;
}

bool TarnPage::transform(const common::CXMLDOMDocument2& output) {
    try {
        return output.LoadXML(xml_.TransformNode(xsl_));
    } catch (const common::CComException&) {
        return false;
    }
}

std::wstring TarnPage::getContentType() const {
    const std::wstring type = getDefine(L"content_type");
    return type.empty() ? L"text/html" : type;
}

std::wstring TarnPage::getDefine(const std::wstring& name) const {
    const common::StringPair* pair = findPair(defines_, name);
    return pair ? pair->value : std::wstring();
}

bool TarnPage::supportCache() const {
    return common::isTrueText(getDefine(L"support_cache"));
}

}  // namespace tarn
