#include "plugin/menus/list_path.h"

#include "platform/dom/element.h"
#include "platform/dom/tag_names.h"

namespace plugin {

std::wstring listItemPath(std::shared_ptr<platform::dom::Element> element) {
    for (; element; element = element->parentElement())
        if (platform::dom::equalsIgnoringCase(element->tagName(), L"LI"))
            return element->getAttribute(L"path").value_or(L"");
    return {};
}

ListPath splitListPath(const std::wstring& path) {
    const auto slash = path.find(L'/');
    if (slash == std::wstring::npos)
        return {path, L""};
    return {path.substr(0, slash), path.substr(slash + 1)};
}

}  // namespace plugin
