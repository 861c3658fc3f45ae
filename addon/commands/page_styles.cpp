#include "addon/commands/page_styles.h"

#include "addon/page/xml_config.h"
#include "common/util/engine_folder.h"
#include "common/util/file_tools.h"
#include "common/util/text_conversion.h"
#include "platform/text/utf.h"

namespace addon {
namespace {

// Each CSS file contributes at most its first 64 KiB.
constexpr std::size_t kStyleFileLimit = 65536;

std::vector<PageStyle> readStyles(const common::CXMLDOMNode& styles) {
    std::vector<PageStyle> result;
    for (const auto& style : childElementsNamed(styles, L"style")) {
        PageStyle pageStyle{attributeText(style, L"name"), {}};
        for (const auto& item : childElementsNamed(style, L"item")) {
            pageStyle.items.push_back({attributeText(item, L"type"), attributeText(item, L"name"),
                                       attributeText(item, L"value")});
        }
        result.push_back(std::move(pageStyle));
    }
    return result;
}

PageStyleSet& processStyles() {
    static PageStyleSet styles;
    return styles;
}

}  // namespace

int PageStyleSet::load(const std::wstring& path, const std::wstring& cssFolder) {
    styles_.clear();
    cssFolder_ = cssFolder;
    const common::CXMLDOMNode root = loadConfigRoot(path, L"styles");
    if (root.IsEmpty()) {
        return -1;
    }
    styles_ = readStyles(root);
    return 0;
}

std::vector<std::wstring> PageStyleSet::names() const {
    std::vector<std::wstring> names;
    for (const auto& style : styles_) {
        names.push_back(style.name);
    }
    return names;
}

const PageStyle* PageStyleSet::find(const std::wstring& name) const {
    for (const auto& style : styles_) {
        if (style.name == name) {
            return &style;
        }
    }
    return nullptr;
}

std::wstring PageStyleSet::classes(const std::wstring& name) const {
    const PageStyle* style = find(name);
    if (style == nullptr) {
        return L"";
    }
    std::wstring joined;
    bool first = true;
    for (const auto& item : style->items) {
        if (item.type != L"class") {
            continue;
        }
        if (!first) {
            joined += L' ';
        }
        joined += item.value;
        first = false;
    }
    return joined;
}

std::wstring PageStyleSet::css(const std::wstring& name) const {
    const PageStyle* style = find(name);
    if (style == nullptr || cssFolder_.empty()) {
        return L"";
    }
    std::wstring base = cssFolder_;
    if (!base.empty() && base.back() != L'/' && base.back() != L'\\') {
        base += L'/';
    }
    std::wstring text;
    for (const auto& item : style->items) {
        if (item.type != L"style" || item.value.empty()) {
            continue;
        }
        std::string bytes;
        if (common::readFile(base + item.value, bytes, kStyleFileLimit) == common::kFileError ||
            bytes.empty()) {
            continue;
        }
        std::wstring decoded;
        common::multiByteToWide(bytes, decoded, 0);
        text += decoded;
    }
    return text;
}

std::wstring pageStyleFolder() {
    const std::wstring resources = common::engineFolder(L"resources");
    return resources.empty() ? L"" : resources + L"/pagestyles/";
}

int loadPageStyles(const std::wstring& path, const std::wstring& cssFolder) {
    return processStyles().load(path, cssFolder);
}

std::vector<std::wstring> listPageStyleNames() {
    return processStyles().names();
}

std::wstring getStyleClasses(const std::wstring& name) {
    return processStyles().classes(name);
}

std::wstring getStyleCss(const std::wstring& name) {
    return processStyles().css(name);
}

}  // namespace addon
