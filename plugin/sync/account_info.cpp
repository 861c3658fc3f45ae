#include "plugin/sync/account_info.h"

#include "common/xml/xml_http_request.h"
#include "common/xml/xml_node_list.h"

namespace plugin {

namespace {

AccountInfo readAccount(const common::CXMLDOMDocument& document) {
    AccountInfo info;
    const common::CXMLDOMNodeList nodes = document.GetChildNodes();
    for (long i = 0; i < nodes.GetLength(); ++i) {
        const common::CXMLDOMNode node = nodes.GetItem(i);
        if (node.GetNodeName() != L"response")
            continue;
        info = {};
        node.GetAttribute(L"version", info.version);
        node.GetAttribute(L"id", info.id);
        node.GetAttribute(L"name", info.name);
        node.GetAttribute(L"key", info.key);
        node.GetAttribute(L"updateTime", info.updateTime);
        node.GetAttribute(L"createTime", info.createTime);
        node.GetAttribute(L"loginTime", info.loginTime);
    }
    return info;
}

}  // namespace

std::optional<AccountInfo> fetchAccountInfo(const std::wstring& serverBase,
                                            std::chrono::milliseconds limit) {
    try {
        const common::CXMLHTTPRequest request = common::CXMLHTTPRequest::Create();
        request.SetTimeout(limit);
        request.Open(L"GET", serverBase + L"api/info");
        request.Send();
        if (request.GetStatus() != 200)
            return std::nullopt;
        const common::CXMLDOMDocument2 document = common::CXMLDOMDocument2::Create();
        if (!document.LoadXML(request.GetResponseText()))
            return AccountInfo{};
        return readAccount(document);
    } catch (const common::CComException&) {
        return std::nullopt;
    }
}

}  // namespace plugin
