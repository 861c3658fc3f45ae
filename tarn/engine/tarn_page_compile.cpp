#include "common/util/file_tools.h"
#include "common/util/path_tools.h"
#include "tarn/engine/tarn_page.h"
#include "tarn/engine/xml_read.h"

namespace tarn {
namespace {

// A page and its includes may pull in at most this many files; a file that includes
// itself, directly or not, would otherwise never end.
constexpr int kMaxIncludes = 64;

}  // namespace

TarnPage::TarnPage(const std::wstring& filePath) : filePath_(filePath) {}

TarnPage::~TarnPage() {
    reset();
}

void TarnPage::reset() {
    block_.clear();
    defines_.clear();
    variables_.clear();
    content_.clear();
    contentUrl_.clear();
    contentStamp_.clear();
    checksum_ = 0;
    xsl_ = {};
    xml_ = {};
}

int TarnPage::compile(const std::wstring& path) {
    if (!path.empty()) {
        filePath_ = path;
    }
    if (filePath_.empty()) {
        return -1;
    }
    const std::uint64_t fileTime = common::fileWriteTime(filePath_);
    if (fileTime == 0) {
        return -1;
    }
    if (compileTime_ != 0 && compileTime_ >= fileTime) {
        return 0;
    }
    try {
        const auto document = common::CXMLDOMDocument2::Create();
        if (document.LoadFile(filePath_)) {
            return compile(document);
        }
    } catch (const common::CComException&) {
    }
    reset();
    compileTime_ = 0;
    return -1;
}

int TarnPage::compile(const common::CXMLDOMDocument2& document) {
    reset();
    compileTime_ = 0;
    try {
        if (document.IsEmpty() || document.GetDocumentElement().IsEmpty()) {
            return -1;
        }
        xsl_ = document;
        int result = 0;
        forEachChild(document, [&](const common::CXMLDOMNode& node) {
            if (result == 0 && node.GetNodeName() == L"xsl:stylesheet") {
                result = compileStylesheet(node);
            }
        });
        if (result == 0) {
            compileTime_ = common::fileWriteTime(filePath_);
            return 0;
        }
    } catch (const common::CComException&) {
    }
    reset();
    return -1;
}

int TarnPage::compileStylesheet(const common::CXMLDOMNode& stylesheet) {
    const common::CXMLDOMNodeList children = stylesheet.GetChildNodes();
    const std::wstring folder = common::parentFolder(filePath_);
    int includes = 0;
    long index = 0;
    while (index < children.GetLength()) {
        const common::CXMLDOMNode node = children.GetItem(index);
        const std::wstring name = node.GetNodeName();
        if (name == L"xsl:include") {
            const std::wstring href = attributeText(node, L"href");
            if (href.find(L"..") != std::wstring::npos || ++includes > kMaxIncludes) {
                return -1;
            }
            stylesheet.RemoveChild(node);
            includeFile(stylesheet, folder + L"/" + href, children.GetItem(index));
        } else if (name == L"Tarn") {
            block_.compile(node);
            stylesheet.RemoveChild(node);
        } else if (name == L"xsl:define") {
            defines_.push_back({attributeText(node, L"name"), attributeText(node, L"value")});
            stylesheet.RemoveChild(node);
        } else {
            if (name == L"xsl:variable") {
                variables_.push_back(
                    {attributeText(node, L"name"), attributeText(node, L"select"), node});
            }
            ++index;
        }
    }
    return 0;
}

int TarnPage::includeFile(const common::CXMLDOMNode& stylesheet, const std::wstring& path,
                          const common::CXMLDOMNode& reference) {
    try {
        const auto document = common::CXMLDOMDocument2::Create();
        if (!document.LoadFile(path)) {
            return -1;
        }
        forEachChild(document, [&](const common::CXMLDOMNode& node) {
            if (node.GetNodeName() != L"xsl:stylesheet") {
                return;
            }
            for (auto child = node.GetFirstChild(); !child.IsEmpty();
                 child = node.GetFirstChild()) {
                node.RemoveChild(child);
                stylesheet.InsertBefore(child, reference);
            }
        });
        return 0;
    } catch (const common::CComException&) {
        return -1;
    }
}

}  // namespace tarn
