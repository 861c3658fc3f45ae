#include "addon/page/xml_config.h"

#include "common/xml/xml_document.h"
#include "common/xml/xml_node_list.h"

namespace addon {

common::CXMLDOMNode loadConfigRoot(const std::wstring& path, const wchar_t* rootName) {
    if (path.empty()) {
        return {};
    }
    try {
        const auto document = common::CXMLDOMDocument2::Create();
        if (!document.Load(path)) {
            return {};
        }
        return document.SelectSingleNode(rootName);
    } catch (const common::CComException&) {
        return {};
    }
}

std::vector<common::CXMLDOMNode> childElementsNamed(const common::CXMLDOMNode& node,
                                                    const wchar_t* name) {
    std::vector<common::CXMLDOMNode> found;
    const common::CXMLDOMNodeList children = node.GetChildNodes();
    for (long i = 0; i < children.GetLength(); ++i) {
        const common::CXMLDOMNode child = children.GetItem(i);
        if (child.GetNodeName() == name) {
            found.push_back(child);
        }
    }
    return found;
}

std::wstring attributeText(const common::CXMLDOMNode& node, const wchar_t* name) {
    std::wstring text;
    node.GetAttribute(name, text);
    return text;
}

}  // namespace addon
