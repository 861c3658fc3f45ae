#include "addon/shell/update_feed.h"

#include "common/xml/xml_document.h"
#include "common/xml/xml_element.h"
#include "common/xml/xml_node_list.h"

namespace addon {

namespace {

std::wstring localName(const common::CXMLDOMNode& node) {
    const std::wstring name = node.GetNodeName();
    const auto colon = name.find(L':');
    return colon == std::wstring::npos ? name : name.substr(colon + 1);
}

FeedEntry readEntry(const common::CXMLDOMNode& entry) {
    FeedEntry record;
    const common::CXMLDOMNodeList children = entry.GetChildNodes();
    for (long index = 0; index < children.GetLength(); ++index) {
        const common::CXMLDOMNode child = children.GetItem(index);
        const std::wstring name = localName(child);
        if (name == L"id")
            record.id = child.GetText();
        else if (name == L"link")
            child.GetAttribute(L"href", record.link);
        else if (name == L"title")
            record.title = child.GetText();
        else if (name == L"summary")
            record.summary = child.GetText();
        else if (name == L"content")
            record.content = child.GetText();
        else if (name == L"published")
            record.published = child.GetText();
        else if (name == L"updated")
            record.updated = child.GetText();
    }
    return record;
}

}  // namespace

std::optional<std::vector<FeedEntry>> readUpdateFeed(const common::CXMLDOMDocument& document) {
    const common::CXMLDOMElement root = document.GetDocumentElement();
    if (!root || localName(root) != L"feed")
        return std::nullopt;
    std::vector<FeedEntry> entries;
    const common::CXMLDOMNodeList children = root.GetChildNodes();
    const long length = children.GetLength();
    for (long index = 0; index < length && entries.size() < kMaxFeedEntries; ++index) {
        const common::CXMLDOMNode child = children.GetItem(index);
        if (localName(child) == L"entry")
            entries.push_back(readEntry(child));
    }
    return entries;
}

}  // namespace addon
