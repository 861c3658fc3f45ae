// The text and HTML forms of exported entries.
//
// Contract: pure functions, thread-safe. Texts are wide; callers write them as UTF-8
// without a byte-order mark. Clip markup goes through the display form of the sanitiser.
#pragma once

#include <string>
#include <string_view>

#include "plugin/export/page_pictures.h"
#include "plugin/repository/entry_record.h"

namespace plugin {

// The entry's text (the text of its markup when it has none) + "\r\n\r\nlink:\t" + url +
// "\r\ntime:\t" + updateTime.
std::wstring textBlock(const EntryRecord& entry);
// The text of a clip: `text`, or the text its markup shows when `text` is blank.
std::wstring clipText(const std::wstring& text, const std::wstring& html);
inline constexpr std::wstring_view kTextSeparator =
    L"\r\n\r\n\r\n=======================================\r\n";

// An HTML 4.01 page with the XML-escaped title and the clip markup in its display form
// (markup_sanitizer.h: no scripts, a whole document's body only, balanced); its pictures,
// read against `base` (the clip's page), are carried in the page (page_pictures.h).
std::wstring htmlPage(std::wstring_view title, std::wstring_view clipMarkup, std::wstring_view base,
                      PagePictures& pictures);
// The same page in pieces, for pages written as they are built: its start up to the
// opening body tag, and its end.
std::wstring htmlPageStart(std::wstring_view title);
inline constexpr std::wstring_view kHtmlPageEnd = L"</body></html>";
// One entry in the single-file HTML export: its linked title, its markup in display form
// with its pictures carried in the page, its link and time.
std::wstring htmlBlock(const EntryRecord& entry, PagePictures& pictures);
inline constexpr std::wstring_view kHtmlSeparator = L"<hr/><br/>";

}  // namespace plugin
