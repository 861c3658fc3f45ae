#include "addon/shell/side_pages.h"

#include "common/xml/xml_document.h"
#include "common/xml/xml_element.h"
#include "common/xml/xml_node_list.h"

namespace addon {

namespace {

std::vector<std::wstring>& processList() {
    static std::vector<std::wstring> pages;
    return pages;
}

}  // namespace

std::vector<std::wstring> readSidePages(const std::wstring& path) {
    std::vector<std::wstring> names;
    try {
        const common::CXMLDOMDocument2 document = common::CXMLDOMDocument2::Create();
        if (!document.Load(path))
            return names;
        const common::CXMLDOMNodeList items = document.SelectNodes(L"/config/sidePages/item");
        for (long index = 0; index < items.GetLength(); ++index) {
            std::wstring name;
            items.GetItem(index).GetAttribute(L"name", name);
            names.push_back(name);
        }
    } catch (const common::CMyException&) {
        names.clear();
    }
    return names;
}

const std::vector<std::wstring>& sidePages() {
    return processList();
}

void loadSidePages(const std::wstring& path) {
    processList() = readSidePages(path);
}

void freeSidePages() {
    processList().clear();
}

}  // namespace addon
