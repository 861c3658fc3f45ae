#include "addon/mailnote/onenote_page.h"

#include "addon/readable/readable_markup.h"
#include "platform/onenote/onenote_application.h"

namespace addon {
namespace {

// The text inside "<![CDATA[" ... "]]>", with every "]]>" split over two sections.
std::wstring cdataText(const std::wstring& text) {
    std::wstring out;
    std::size_t start = 0;
    for (std::size_t end = text.find(L"]]>"); end != std::wstring::npos;
         end = text.find(L"]]>", start)) {
        out.append(text, start, end + 2 - start);
        out += L"]]><![CDATA[";
        start = end + 2;
    }
    return out + text.substr(start);
}

}  // namespace

std::wstring buildOneNotePageXml(const std::wstring& pageId,
                                 const std::optional<std::wstring>& title,
                                 const std::vector<std::wstring>& blocks) {
    std::wstring xml = L"<?xml version=\"1.0\"?>\n";
    xml += L"<one:Page xmlns:one=\"" + std::wstring(platform::onenote::kPageNamespace) +
           L"\" ID=\"" + htmlEscape(pageId) + L"\">\n";
    if (title) {
        xml +=
            L"<one:PageSettings RTL=\"false\" color=\"automatic\"><one:PageSize><one:Automatic/>"
            L"</one:PageSize><one:RuleLines visible=\"false\"/></one:PageSettings>\n";
        xml += L"<one:Title>\n<one:OE>\n<one:T><![CDATA[" + cdataText(*title) +
               L"]]></one:T>\n</one:OE>\n</one:Title>\n";
    }
    for (const std::wstring& block : blocks) {
        xml += L"<one:Outline>\n<one:OEChildren><one:HTMLBlock><one:Data><![CDATA[<html><body>" +
               cdataText(block) +
               L"</p></body></html>]]></one:Data></one:HTMLBlock></one:OEChildren></one:Outline>\n";
    }
    return xml + L"</one:Page>\n";
}

}  // namespace addon
