// The text and HTML forms of exported entries.
//
// Contract: pure functions, thread-safe. Texts are wide; callers write them as UTF-8
// without a byte-order mark.
#pragma once

#include <string>
#include <string_view>

#include "plugin/repository/entry_record.h"

namespace plugin {

// text + "\r\n\r\nlink:\t" + url + "\r\ntime:\t" + updateTime.
std::wstring textBlock(const EntryRecord& entry);
inline constexpr std::wstring_view kTextSeparator =
    L"\r\n\r\n\r\n=======================================\r\n";

// An HTML 4.01 page with the XML-escaped title and the body markup as it is.
std::wstring htmlPage(std::wstring_view title, std::wstring_view body);
// One entry in the single-file HTML export: its linked title, its markup, its link and time.
std::wstring htmlBlock(const EntryRecord& entry);
inline constexpr std::wstring_view kHtmlSeparator = L"<hr/><br/>";

}  // namespace plugin
