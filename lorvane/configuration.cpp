#include "lorvane/configuration.h"

#include <filesystem>

#include "common/xml/xml_document.h"
#include "common/xml/xml_node_list.h"
#include "platform/text/utf.h"

namespace lorvane {

namespace {

std::filesystem::path nativePath(const std::wstring& path) {
    return std::filesystem::path(platform::text::toUtf8(path));
}

std::vector<common::CXMLDOMNode> childrenNamed(const common::CXMLDOMNode& parent,
                                               const std::wstring& name) {
    std::vector<common::CXMLDOMNode> found;
    const common::CXMLDOMNodeList children = parent.GetChildNodes();
    for (long i = 0; i < children.GetLength(); ++i) {
        const common::CXMLDOMNode child = children.GetItem(i);
        if (child.GetNodeName() == name)
            found.push_back(child);
    }
    return found;
}

}  // namespace

int LorvaneConfig::loadConfig(const std::wstring& newPath) {
    if (!newPath.empty())
        path = newPath;
    corrupt_ = false;
    lastError_.clear();
    if (path.empty()) {
        lastError_ = L"no configuration file";
        return -1;
    }
    std::error_code error;
    const bool exists = std::filesystem::exists(nativePath(path), error);
    try {
        const common::CXMLDOMDocument document = common::CXMLDOMDocument2::Create();
        if (!document.Load(path)) {
            corrupt_ = exists;
            lastError_ = L"cannot read " + path + L": " + document.GetParseError();
            return -1;
        }
        const auto roots = childrenNamed(document, L"config");
        if (roots.empty()) {
            corrupt_ = true;
            lastError_ = path + L" has no \"config\" element";
            return -1;
        }
        std::vector<std::wstring> read;
        for (const auto& pages : childrenNamed(roots.front(), L"sidePages"))
            for (const auto& item : childrenNamed(pages, L"item")) {
                std::wstring name;
                item.GetAttribute(L"name", name);
                read.push_back(name);
            }
        names.insert(names.end(), read.begin(), read.end());
        return 0;
    } catch (const common::CMyException& failure) {
        corrupt_ = exists;
        lastError_ = L"cannot read " + path + L": " + platform::text::fromUtf8(failure.what());
        return -1;
    }
}

int LorvaneConfig::saveConfig(const std::wstring& newPath) {
    if (!newPath.empty())
        path = newPath;
    lastError_.clear();
    if (path.empty()) {
        lastError_ = L"no configuration file";
        return -1;
    }
    try {
        const common::CXMLDOMDocument2 document = common::CXMLDOMDocument2::Create();
        document.AppendChild(
            document.CreateProcessingInstruction(L"xml", L"version=\"1.0\" encoding=\"UTF-8\""));
        const common::CXMLDOMNode root =
            document.AppendChild(document.CreateNode(common::NODE_ELEMENT, L"config", L""));
        const common::CXMLDOMNode pages =
            root.AppendChild(document.CreateNode(common::NODE_ELEMENT, L"sidePages", L""));
        for (const auto& name : names)
            pages.AppendChild(document.CreateNode(common::NODE_ELEMENT, L"item", L""))
                .SetAttribute(L"name", name);
        if (corrupt_) {
            std::error_code error;
            std::filesystem::copy_file(nativePath(path), nativePath(path + L".bad"),
                                       std::filesystem::copy_options::overwrite_existing, error);
            if (error) {
                lastError_ = L"cannot keep the unreadable " + path + L" before replacing it";
                return -1;
            }
            corrupt_ = false;
        }
        std::error_code error;
        std::filesystem::create_directories(nativePath(path).parent_path(), error);
        document.Save(path);
        return 0;
    } catch (const common::CMyException& failure) {
        lastError_ = L"cannot write " + path + L": " + platform::text::fromUtf8(failure.what());
        return -1;
    }
}

}  // namespace lorvane
