#include "plugin/export/plain_export.h"

#include "plugin/util/conversions.h"

namespace plugin {

std::wstring textBlock(const EntryRecord& entry) {
    return entry.text + L"\r\n\r\nlink:\t" + entry.url + L"\r\ntime:\t" + entry.updateTime;
}

std::wstring htmlPage(std::wstring_view title, std::wstring_view body) {
    std::wstring page =
        L"<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01//EN\"><html><head>"
        L"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\"/><title>";
    page += xmlEscape(title);
    page += L"</title></head><body>";
    page += body;
    page += L"</body></html>";
    return page;
}

std::wstring htmlBlock(const EntryRecord& entry) {
    const std::wstring url = xmlEscape(entry.url);
    return L"<a href=\"" + url + L"\">" + xmlEscape(entry.title) + L"</a><br/>" + entry.html +
           L"<br/><br/>link:\t" + url + L"<br/>time:\t" + xmlEscape(entry.updateTime) + L"<br/>";
}

}  // namespace plugin
