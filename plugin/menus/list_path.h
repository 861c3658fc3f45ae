// The "path" of a list item on the repository pages: the attribute of the nearest "LI"
// element at or above an element, split into its prefix ("@item", "@folder", "@category",
// "@site") and its key (the text after the first "/").
//
// Contract: pure functions over the document; thread-safe when the document is not being
// changed.
#pragma once

#include <memory>
#include <string>

namespace platform::dom {
class Element;
}  // namespace platform::dom

namespace plugin {

// "" when no element at or above `element` is an "LI" or it has no "path".
std::wstring listItemPath(std::shared_ptr<platform::dom::Element> element);

struct ListPath {
    std::wstring prefix;  // the whole path when it holds no "/"
    std::wstring key;     // "" when the path holds no "/"
};

ListPath splitListPath(const std::wstring& path);

}  // namespace plugin
