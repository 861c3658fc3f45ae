#include "plugin/export/plain_export.h"

#include "common/markup/markup_sanitizer.h"
#include "common/markup/url_safety.h"
#include "platform/text/utf.h"
#include "plugin/util/conversions.h"

namespace plugin {

std::wstring clipText(const std::wstring& text, const std::wstring& html) {
    if (text.find_first_not_of(L" \t\r\n") != std::wstring::npos)
        return text;
    return common::markupText(html);
}

std::wstring textBlock(const EntryRecord& entry) {
    return clipText(entry.text, entry.html) + L"\r\n\r\nlink:\t" + entry.url + L"\r\ntime:\t" +
           entry.updateTime;
}

std::wstring htmlPageStart(std::wstring_view title) {
    std::wstring page =
        L"<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01//EN\"><html><head>"
        L"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\"/><title>";
    page += xmlEscape(title);
    page += L"</title></head><body>";
    return page;
}

namespace {

std::wstring pageMarkup(std::wstring_view clipMarkup, std::wstring_view base,
                        PagePictures& pictures) {
    const std::string baseUrl = platform::text::toUtf8(base);
    return common::safeMarkup(
        clipMarkup, [&](const std::string& source) { return pictures.place(source, baseUrl); });
}

}  // namespace

std::wstring htmlPage(std::wstring_view title, std::wstring_view clipMarkup, std::wstring_view base,
                      PagePictures& pictures) {
    return htmlPageStart(title) + pageMarkup(clipMarkup, base, pictures) +
           std::wstring(kHtmlPageEnd);
}

std::wstring htmlBlock(const EntryRecord& entry, PagePictures& pictures) {
    const std::wstring url = xmlEscape(entry.url);
    // Only web and mail addresses become links: a synced entry's address may be a script.
    const std::wstring target =
        platform::text::fromUtf8(common::markup::bookLinkTarget(platform::text::toUtf8(entry.url)));
    const std::wstring title = xmlEscape(entry.title);
    const std::wstring heading =
        target.empty() ? title : L"<a href=\"" + xmlEscape(target) + L"\">" + title + L"</a>";
    return heading + L"<br/>" + pageMarkup(entry.html, entry.url, pictures) + L"<br/><br/>link:\t" +
           url + L"<br/>time:\t" + xmlEscape(entry.updateTime) + L"<br/>";
}

}  // namespace plugin
