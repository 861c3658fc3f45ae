#include "tarn/engine/plugin_manifest.h"

#include "common/util/file_tools.h"
#include "common/util/path_tools.h"
#include "common/xml/xml_dom.h"
#include "tarn/engine/xml_read.h"

namespace tarn {
namespace {

constexpr wchar_t kCatalogueName[] = L"plugins.xml";

void readPageItem(const common::CXMLDOMNode& node, PluginPageItem& item) {
    item.name = attributeText(node, L"name");
    item.title = attributeText(node, L"title");
    item.type = attributeText(node, L"type");
    item.file = attributeText(node, L"file");
    item.bind = attributeText(node, L"bind");
    item.use = attributeText(node, L"use");
    if (item.type.empty()) {
        item.type = L"Tarn";
    }
}

// Calls read(item) for each "item" element of the list.
template <typename Read>
void forEachItem(const common::CXMLDOMNode& list, Read read) {
    forEachChild(list, [&](const common::CXMLDOMNode& child) {
        if (child.GetNodeName() == L"item") {
            read(child);
        }
    });
}

}  // namespace

PluginManifest::PluginManifest(const std::wstring& path) : filePath(path) {
    if (!path.empty()) {
        load();
    }
}

int PluginManifest::load(const std::wstring& path) {
    if (!path.empty()) {
        filePath = path;
    }
    if (filePath.empty()) {
        return -1;
    }
    try {
        const auto document = common::CXMLDOMDocument2::Create();
        if (!document.LoadFile(filePath)) {
            return -1;
        }
        int result = -1;
        forEachChild(document, [&](const common::CXMLDOMNode& node) {
            if (result != 0 && node.GetNodeName() == L"plugins") {
                result = parse(node);
            }
        });
        return result;
    } catch (const common::CComException&) {
        return -1;
    }
}

int PluginManifest::parse(const common::CXMLDOMNode& root) {
    pages.clear();
    sidePages.clear();
    transcoders.clear();
    version = attributeText(root, L"version");
    name = attributeText(root, L"name");
    title = attributeText(root, L"title");
    datetime = attributeText(root, L"datetime");
    author = attributeText(root, L"author");
    copyright = attributeText(root, L"copyright");
    forEachChild(root, [&](const common::CXMLDOMNode& list) {
        const std::wstring kind = list.GetNodeName();
        if (kind == L"pages") {
            forEachItem(list, [&](const common::CXMLDOMNode& node) {
                PluginPageItem item;
                readPageItem(node, item);
                item.file = resolve(item.file);
                pages.push_back(std::move(item));
            });
        } else if (kind == L"sidePages") {
            forEachItem(list, [&](const common::CXMLDOMNode& node) {
                PluginSidePageItem item;
                readPageItem(node, item);
                item.file = resolve(item.file);
                item.url = attributeText(node, L"url");
                item.restrict = attributeText(node, L"restrict");
                sidePages.push_back(std::move(item));
            });
        } else if (kind == L"transcoders") {
            forEachItem(list, [&](const common::CXMLDOMNode& node) {
                transcoders.push_back({attributeText(node, L"name"), attributeText(node, L"title"),
                                       resolve(attributeText(node, L"file"))});
            });
        }
    });
    return 0;
}

std::wstring PluginManifest::resolve(const std::wstring& file) const {
    const auto colon = file.find(L':');
    if ((colon != std::wstring::npos && colon > 0) || (!file.empty() && file.front() == L'/')) {
        return file;
    }
    return common::parentFolder(filePath) + L"/" + common::nativePath(file);
}

int ScanPluginFolder(const std::wstring& folder, std::vector<PluginManifest>& manifests) {
    const auto add = [&](const std::wstring& path) {
        PluginManifest manifest(path + L"/" + kCatalogueName);
        if (!manifest.name.empty()) {
            manifests.push_back(std::move(manifest));
        }
    };
    std::wstring top = common::nativePath(folder);
    while (top.size() > 1 && top.back() == L'/') {
        top.pop_back();
    }
    add(top);
    for (const std::wstring& sub : common::listFolders(top, true)) {
        add(sub);
    }
    return static_cast<int>(manifests.size());
}

}  // namespace tarn
