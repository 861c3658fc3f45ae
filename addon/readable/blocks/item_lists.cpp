#include "addon/readable/blocks/item_lists.h"

#include <map>
#include <vector>

#include "addon/page/text_case.h"
#include "addon/readable/blocks/story_forms.h"

namespace addon {
namespace {

// The tag and first class name of an element: the component a page builds it from.
std::wstring kindOf(const dom::Element& element) {
    return lowerText(element.tagName()) + L"." + componentName(element);
}

// Whether a link with an address and text stands before the element's first paragraph: a
// linked headline or a linked name.
bool linkBeforeParagraph(const ElementPtr& element) {
    for (const ElementPtr& below : element->all()) {
        const std::wstring tag = lowerText(below->tagName());
        if (tag == L"p") {
            return false;
        }
        if (tag == L"a" && below->hasAttribute(L"href") && !trimSpace(below->innerText()).empty()) {
            return true;
        }
    }
    return false;
}

// Whether the element is an item: a paragraph with text, at most kItemText characters of
// paragraph text, and a link before its first paragraph.
bool isItem(const ElementPtr& element) {
    std::size_t paragraphText = 0;
    for (const ElementPtr& paragraph : element->getElementsByTagName(L"P")) {
        paragraphText += trimSpace(paragraph->innerText()).size();
    }
    return paragraphText > 0 && paragraphText <= kItemText && linkBeforeParagraph(element);
}

}  // namespace

bool ItemLists::isListItem(const ElementPtr& element) {
    const ElementPtr list = element ? element->parentElement() : nullptr;
    if (!list) {
        return false;
    }
    if (listed_.insert(list.get()).second) {
        addItemsOf(list);
    }
    return items_.count(element.get()) > 0;
}

void ItemLists::addItemsOf(const ElementPtr& list) {
    const std::vector<ElementPtr> children = list->children();
    if (children.size() < kListItems) {
        return;
    }
    std::map<std::wstring, std::vector<ElementPtr>> kinds;
    for (const ElementPtr& child : children) {
        kinds[kindOf(*child)].push_back(child);
    }
    const std::size_t total = trimSpace(list->innerText()).size();
    for (const auto& [kind, members] : kinds) {
        if (members.size() < kListItems) {
            continue;
        }
        std::vector<const dom::Element*> items;
        std::size_t itemText = 0;
        for (const ElementPtr& member : members) {
            if (isItem(member)) {
                items.push_back(member.get());
                itemText += trimSpace(member->innerText()).size();
            }
        }
        if (items.size() >= kListItems &&
            static_cast<double>(itemText) >= kItemsShare * static_cast<double>(total)) {
            items_.insert(items.begin(), items.end());
        }
    }
}

}  // namespace addon
