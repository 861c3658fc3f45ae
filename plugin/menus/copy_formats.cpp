#include "plugin/menus/copy_formats.h"

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <utility>

#include "common/language/language_table.h"
#include "common/util/markup_escape.h"
#include "platform/text/utf.h"
#include "plugin/util/html_clipboard.h"

namespace plugin {

namespace {

struct TemplateKeys {
    const wchar_t* type;
    const wchar_t* htmlKey;
    const wchar_t* htmlDefault;
    const wchar_t* textKey;
    const wchar_t* textDefault;
};

constexpr TemplateKeys kTemplates[] = {
    {L"clip", L"Copy/TamrixEntry/HTML", L"#content/html#", L"Copy/TamrixEntry/Text",
     L"#content/text#"},
    {L"link", L"Copy/Link/HTML", L"<a href='#url#'>#title#</a>", L"Copy/Link/Text", L"#url#"},
    {L"sticky", L"Copy/Sticky/HTML", L"#description#", L"Copy/Sticky/Text", L"#description#"},
};

}  // namespace

CopyTemplates copyTemplates(const std::wstring& type) {
    const TemplateKeys* keys = &kTemplates[0];
    for (const TemplateKeys& candidate : kTemplates)
        if (type == candidate.type)
            keys = &candidate;
    const auto& table = common::languageTable();
    return {table.translate(L"Formatter", keys->htmlDefault, keys->htmlKey),
            table.translate(L"Formatter", keys->textDefault, keys->textKey)};
}

std::wstring fillCopyTemplate(const EntryRecord& entry, const std::wstring& text,
                              TemplateForm form) {
    const std::pair<const wchar_t*, const std::wstring*> fields[] = {
        {L"#title#", &entry.title},
        {L"#url#", &entry.url},
        {L"#createTime#", &entry.createTime},
        {L"#updateTime#", &entry.updateTime},
        {L"#id#", &entry.id},
        {L"#category#", &entry.category},
        {L"#folder#", &entry.folder},
        {L"#tags#", &entry.tags},
        {L"#description#", &entry.description},
        {L"#content/html#", &entry.html},
        {L"#content/text#", &entry.text},
    };
    // One pass from left to right: a field's own text is never searched for keys again.
    std::wstring filled;
    for (std::size_t at = 0; at < text.size();) {
        const auto* match = std::find_if(std::begin(fields), std::end(fields), [&](const auto& f) {
            return text.compare(at, std::wcslen(f.first), f.first) == 0;
        });
        if (match == std::end(fields)) {
            filled += text[at++];
            continue;
        }
        const bool isMarkup = match->second == &entry.html;
        filled += form == TemplateForm::markup && !isMarkup
                      ? common::escapeMarkup(*match->second, true)
                      : *match->second;
        at += std::wcslen(match->first);
    }
    return filled;
}

bool copyEntry(const EntryRecord& entry) {
    const CopyTemplates templates = copyTemplates(entry.type);
    const std::wstring html = fillCopyTemplate(entry, templates.html, TemplateForm::markup);
    if (html.empty())
        return false;
    const std::string htmlBytes = platform::text::toUtf8(html);
    const std::string textBytes =
        platform::text::toUtf8(fillCopyTemplate(entry, templates.text, TemplateForm::text));
    return copyHtmlToClipboard(&htmlBytes, &textBytes);
}

}  // namespace plugin
