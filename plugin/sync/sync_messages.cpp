#include "plugin/sync/sync_messages.h"

#include <zlib.h>

#include <cwchar>

#include "common/xml/xml_named_node_map.h"
#include "common/xml/xml_node_list.h"
#include "platform/text/utf.h"
#include "plugin/repository/repository.h"
#include "plugin/repository/repository_connection.h"
#include "plugin/util/conversions.h"

namespace plugin {

namespace {

int maskBit(const std::wstring& kind) {
    if (kind == L"delete")
        return kSyncDeletes;
    if (kind == L"update")
        return kSyncUpdates;
    if (kind == L"insert")
        return kSyncInserts;
    return 0;
}

struct TextAttribute {
    const wchar_t* name;
    std::wstring EntryRecord::*field;
};

// The attributes of an entry element in the order they are written; mode follows them.
constexpr TextAttribute kAttributes[] = {
    {L"guid", &EntryRecord::guid},
    {L"id", &EntryRecord::id},
    {L"createTime", &EntryRecord::createTime},
    {L"updateTime", &EntryRecord::updateTime},
    {L"url", &EntryRecord::url},
    {L"site", &EntryRecord::site},
    {L"type", &EntryRecord::type},
    {L"category", &EntryRecord::category},
    {L"folder", &EntryRecord::folder},
    {L"tags", &EntryRecord::tags},
    {L"title", &EntryRecord::title},
    {L"command", &EntryRecord::command},
};

constexpr TextAttribute kChildren[] = {
    {L"description", &EntryRecord::description},
    {L"text", &EntryRecord::text},
    {L"html", &EntryRecord::html},
};

common::CXMLDOMNode appendElement(const common::CXMLDOMDocument& document,
                                  const common::CXMLDOMNode& parent, const wchar_t* name) {
    return parent.AppendChild(document.CreateNode(common::NODE_ELEMENT, name, L""));
}

std::wstring attributeOf(const common::CXMLDOMNode& element, const wchar_t* name) {
    std::wstring value;
    element.GetAttribute(name, value);
    return value;
}

// The text of the first child element named `name`, "" when there is none.
std::wstring childText(const common::CXMLDOMNode& element, const wchar_t* name) {
    const common::CXMLDOMNodeList children = element.GetChildNodes();
    for (long i = 0; i < children.GetLength(); ++i) {
        const common::CXMLDOMNode child = children.GetItem(i);
        if (child.GetNodeName() == name)
            return child.GetText();
    }
    return {};
}

// True when the entry is there; throws when the repository cannot tell.
bool entryStillExists(const std::wstring& guid) {
    bool found = false;
    detail::readRows(L"select 1 from entry where guid=? limit 1;", {guid},
                     [&](common::SqliteQuery&) { found = true; });
    return found;
}

}  // namespace

int countChanges(const std::vector<ChangeRecord>& changes, int mask) {
    int count = 0;
    for (const ChangeRecord& change : changes)
        if (maskBit(change.name) & mask)
            ++count;
    return count;
}

void appendEntryElement(const common::CXMLDOMDocument& document, const common::CXMLDOMNode& parent,
                        const EntryRecord& record) {
    const common::CXMLDOMNode item = appendElement(document, parent, L"item");
    for (const TextAttribute& attribute : kAttributes)
        item.SetAttribute(attribute.name, record.*attribute.field);
    item.SetAttribute(L"mode", toText(record.mode));
    for (const TextAttribute& child : kChildren)
        appendElement(document, item, child.name).PutText(record.*child.field);
}

EntryRecord readEntryElement(const common::CXMLDOMNode& item) {
    EntryRecord record;
    for (const TextAttribute& attribute : kAttributes)
        record.*attribute.field = attributeOf(item, attribute.name);
    record.mode = static_cast<int>(std::wcstol(attributeOf(item, L"mode").c_str(), nullptr, 10));
    for (const TextAttribute& child : kChildren)
        record.*child.field = childText(item, child.name);
    return record;
}

std::optional<std::wstring> BuildSyncRequest(const std::wstring& key,
                                             const std::vector<ChangeRecord>& changes, int mask,
                                             const std::wstring& lastUpdateTime) {
    try {
        const common::CXMLDOMDocument2 document = common::CXMLDOMDocument2::Create();
        document.AppendChild(
            document.CreateProcessingInstruction(L"xml", L"version=\"1.0\" encoding=\"UTF-8\""));
        const common::CXMLDOMNode root = appendElement(document, document, L"request");
        root.SetAttribute(L"version", L"0.1");
        root.SetAttribute(L"name", L"sync");
        root.SetAttribute(L"key", key);
        root.SetAttribute(L"lastUpdateTime", lastUpdateTime);
        for (const ChangeRecord& change : changes) {
            const int kind = maskBit(change.name);
            if ((kind & mask) == 0)
                continue;
            if (kind == kSyncDeletes) {
                const common::CXMLDOMNode item = appendElement(document, root, L"item");
                item.SetAttribute(L"guid", change.guid);
                item.SetAttribute(L"updateTime", change.updateTime);
                item.SetAttribute(L"command", L"delete");
                continue;
            }
            EntryRecord entry;
            if (!readEntry(change.guid, entry) || entry.guid != change.guid) {
                if (entryStillExists(change.guid))
                    return std::nullopt;
                continue;
            }
            entry.updateTime = change.updateTime;
            entry.command = change.name;
            appendEntryElement(document, root, entry);
        }
        return document.GetXml();
    } catch (const common::SqliteException&) {
        return std::nullopt;
    } catch (const common::CComException&) {
        return std::nullopt;
    }
}

std::optional<std::vector<std::uint8_t>> compressRequestBody(const std::wstring& text) {
    const std::u16string units = platform::text::toUtf16(text);
    std::vector<std::uint8_t> plain;
    plain.reserve(units.size() * 2);
    for (char16_t unit : units) {
        plain.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        plain.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    std::vector<std::uint8_t> packed(plain.size());
    uLongf packedSize = static_cast<uLongf>(packed.size());
    if (plain.empty() || compress(packed.data(), &packedSize, plain.data(),
                                  static_cast<uLong>(plain.size())) != Z_OK)
        return std::nullopt;
    packed.resize(packedSize);
    return packed;
}

SyncResponse ParseSyncResponse(const common::CXMLDOMDocument& document) {
    SyncResponse response;
    try {
        const common::CXMLDOMElement root = document.GetDocumentElement();
        if (root.IsEmpty() || root.GetNodeName() != L"response")
            return response;
        response.updateTime = attributeOf(root, L"updateTime");
        const common::CXMLDOMNodeList children = root.GetChildNodes();
        for (long i = 0; i < children.GetLength(); ++i) {
            const common::CXMLDOMNode child = children.GetItem(i);
            if (child.GetNodeName() == L"item")
                response.records.push_back(readEntryElement(child));
        }
        response.valid = true;
    } catch (const common::CComException&) {
        response = {};
    }
    return response;
}

}  // namespace plugin
